#include "ui/project/FSearchDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/Help.h"
#include "ui/LongWork.h"
#include "ui/OkCancl2.h"
#include "ui/QtText.h"
#include "ui/project/PrjListWindow.h"

namespace vorlect::ui {

namespace {

using Model = vle::TSearchDlg;

// The result group's caption: "scanning " and a path while a search runs, where an '&' of the path
// is a character and no accelerator.
QString GroupTitle(const std::string& caption) {
  static const std::string scanning = "scanning ";
  if (caption.rfind(scanning, 0) != 0) return QString::fromLatin1(caption.c_str());
  QString path = QFile::decodeName(caption.substr(scanning.size()).c_str());
  path.replace(QLatin1Char('&'), QLatin1String("&&"));
  return QString::fromLatin1(scanning.c_str()) + path;
}

QLabel* BuddyLabel(const QString& caption, QWidget* buddy) {
  auto* label = new QLabel(caption);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TSearchDlgWindow::TSearchDlgWindow(vle::TFPrjList& catalogue, QWidget* parent)
    : QDialog(parent), model_(catalogue) {
  setObjectName(QStringLiteral("SearchDlg"));
  setWindowTitle(QString::fromLatin1(Model::kCaption));

  searchEdit_ = new QLineEdit;
  searchEdit_->setObjectName(QStringLiteral("EdSearch"));
  replaceEdit_ = new QLineEdit;
  replaceEdit_->setObjectName(QStringLiteral("EdReplace"));

  allBtn_ = new QRadioButton(tr("&all languages"));
  allBtn_->setObjectName(QStringLiteral("RbAll"));
  allBtn_->setChecked(model_.AllLanguages);
  selectedBtn_ = new QRadioButton(tr("&selected languages"));
  selectedBtn_->setObjectName(QStringLiteral("RbSelected"));
  selectedBtn_->setChecked(!model_.AllLanguages);
  ignoreCaseBox_ = new QCheckBox(tr("&ignore case"));
  ignoreCaseBox_->setObjectName(QStringLiteral("CbIgnoreCase"));
  ignoreCaseBox_->setChecked(model_.IgnoreCase);

  languages_ = new QListWidget;
  languages_->setObjectName(QStringLiteral("LbLanguages"));
  // A click picks or drops one language; the list is short.
  languages_->setSelectionMode(QAbstractItemView::MultiSelection);
  for (const std::string& name : model_.LanguageItems()) languages_->addItem(QString::fromStdString(name));
  languages_->setFixedHeight(4 * languages_->fontMetrics().height() + 8);

  resultList_ = new QTreeWidget;
  resultList_->setObjectName(QStringLiteral("LvResults"));
  resultList_->setHeaderLabels({tr("Form"), tr("Component"), tr("Text found")});
  resultList_->setRootIsDecorated(false);
  resultList_->setUniformRowHeights(true);
  resultList_->setSelectionMode(QAbstractItemView::SingleSelection);
  resultList_->setSelectionBehavior(QAbstractItemView::SelectRows);
  resultList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  resultList_->header()->setStretchLastSection(true);
  resultList_->setColumnWidth(0, kFormWidth);
  resultList_->setColumnWidth(1, kComponentWidth);
  resultList_->setColumnWidth(2, kTextWidth);
  resultsGroup_ = new QGroupBox(GroupTitle(model_.GroupCaption()));
  resultsGroup_->setObjectName(QStringLiteral("GbResults"));
  auto* resultsLayout = new QVBoxLayout(resultsGroup_);
  resultsLayout->addWidget(resultList_);

  findBtn_ = new QPushButton(QString::fromLatin1(Model::kFindCaption));
  findBtn_->setObjectName(QStringLiteral("BtnFind"));
  findBtn_->setDefault(true);
  replaceBtn_ = new QPushButton(tr("Replace"));
  replaceBtn_->setObjectName(QStringLiteral("BtnReplace"));
  cancelBtn_ = new QPushButton(tr("Cancel"));
  cancelBtn_->setObjectName(QStringLiteral("BtnCancel"));
  helpBtn_ = new QPushButton(tr("&Help"));
  helpBtn_->setObjectName(QStringLiteral("BtnHelp"));

  // The two texts; the language choice beside its list; the results below; the buttons on the right.
  auto* fields = new QGridLayout;
  fields->addWidget(BuddyLabel(tr("&Text to search:"), searchEdit_), 0, 0);
  fields->addWidget(searchEdit_, 0, 1);
  fields->addWidget(BuddyLabel(tr("&Replace with"), replaceEdit_), 1, 0);
  fields->addWidget(replaceEdit_, 1, 1);

  auto* choices = new QVBoxLayout;
  choices->addWidget(allBtn_);
  choices->addWidget(selectedBtn_);
  choices->addStretch();
  choices->addWidget(ignoreCaseBox_);
  auto* options = new QHBoxLayout;
  options->addLayout(choices);
  options->addWidget(languages_, 1);

  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addLayout(options);
  left->addWidget(resultsGroup_, 1);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(findBtn_);
  buttons->addWidget(replaceBtn_);
  buttons->addWidget(cancelBtn_);
  buttons->addWidget(helpBtn_);
  buttons->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  resize(sizeHint().expandedTo(QSize(560, 420)));

  connect(searchEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    model_.SearchText = text.toStdString();
    ShowModel();
  });
  connect(replaceEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    model_.ReplaceText = text.toStdString();
    ShowModel();
  });
  connect(allBtn_, &QRadioButton::toggled, this, [this](bool checked) {
    model_.AllLanguages = checked;
    ShowModel();
  });
  connect(ignoreCaseBox_, &QCheckBox::toggled, this, [this](bool checked) { model_.IgnoreCase = checked; });
  connect(languages_, &QListWidget::itemSelectionChanged, this, [this] {
    for (int i = 0; i < languages_->count(); ++i) model_.SetLanguageSelected(i, languages_->item(i)->isSelected());
    ShowModel();
  });
  connect(findBtn_, &QPushButton::clicked, this, [this] {
    if (model_.Running()) {
      model_.FindClick();  // "St&op": the search sees it at its next round of events
      ShowModel();
    } else {
      Run(false);
    }
  });
  connect(replaceBtn_, &QPushButton::clicked, this, [this] { Run(true); });
  connect(resultList_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (!item || !item->isSelected()) return;
    model_.ResultDblClick(item->data(0, Qt::UserRole).toInt());
  });
  connect(cancelBtn_, &QPushButton::clicked, this, &QDialog::reject);
  connect(helpBtn_, &QPushButton::clicked, this, [] { OpenHelp(Model::kHelpKeyword); });

  model_.ProcessMessages = [this] { PollEvents(); };
  model_.SearchEnded = [this] { ShowModel(); };

  ShowModel();
  searchEdit_->setFocus();
}

void TSearchDlgWindow::Run(bool replace) {
  if (model_.Running()) return;
  resultList_->clear();
  // The first round of events comes at once: the button reads "St&op" before the first form.
  lastRound_.invalidate();
  if (replace)
    model_.ReplaceClick();
  else
    model_.FindClick();
  ShowModel();
}

void TSearchDlgWindow::PollEvents() {
  if (lastRound_.isValid() && lastRound_.elapsed() < TLongWork::kFrameMs) return;
  ShowModel();
  QApplication::processEvents(QEventLoop::AllEvents, TLongWork::kFrameMs);
  lastRound_.restart();
}

void TSearchDlgWindow::ShowModel() {
  const bool idle = model_.ControlsEnabled();
  findBtn_->setText(QString::fromLatin1(model_.FindCaption().c_str()));
  findBtn_->setEnabled(model_.Running() || model_.FindEnabled());
  replaceBtn_->setEnabled(idle && model_.FindEnabled());
  for (QWidget* w : std::initializer_list<QWidget*>{searchEdit_, replaceEdit_, allBtn_, selectedBtn_, ignoreCaseBox_,
                                                    resultList_, cancelBtn_})
    w->setEnabled(idle);
  helpBtn_->setEnabled(idle && HelpAvailable());
  languages_->setEnabled(model_.LanguageListEnabled());
  resultsGroup_->setTitle(GroupTitle(model_.GroupCaption()));

  // Rows come only at the end of the list while a search runs; a new search empties it first.
  const auto& results = model_.Results();
  for (int i = resultList_->topLevelItemCount(); i < static_cast<int>(results.size()); ++i) {
    const Model::TResultRow& row = results[static_cast<size_t>(i)];
    auto* item = new QTreeWidgetItem(resultList_, {FromAnsi(row.Form), QString::fromStdString(row.Component),
                                                   QString::fromStdString(row.TextFound)});
    item->setData(0, Qt::UserRole, i);
    item->setToolTip(2, item->text(2));
  }
}

void TSearchDlgWindow::reject() {
  if (model_.Running()) {
    model_.FindClick();
    ShowModel();
    return;
  }
  QDialog::reject();
}

void TSearchDlgWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (placed_) return;
  placed_ = true;
  if (!parentWidget()) CentreOnScreen(this);
}

void OpenProjectSearch(TFPrjListWindow& window) {
  {
    TSearchDlgWindow dialog(window.Catalogue(), &window);
    dialog.exec();
  }
  window.RefreshRows();
}

}  // namespace vorlect::ui
