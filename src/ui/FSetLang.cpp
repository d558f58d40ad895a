#include "ui/FSetLang.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>
#include <string>

#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "ui/Help.h"
#include "ui/OkCancl2.h"
#include "vle/VLSettings.h"

namespace vorlect::ui {

namespace {

using Model = vle::TFLangDlg;

QString DraggedDictionary(const QMimeData* mime) {
  return mime && mime->hasFormat(QLatin1String(kDictionaryMimeType))
             ? QString::fromUtf8(mime->data(QLatin1String(kDictionaryMimeType)))
             : QString();
}

// The dictionary list: a drag source only, carrying the entry's name.
class TDictionaryList : public QListWidget {
public:
  using QListWidget::QListWidget;

protected:
  QStringList mimeTypes() const override { return {QLatin1String(kDictionaryMimeType)}; }
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
    if (items.isEmpty()) return nullptr;
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(kDictionaryMimeType), items.front()->text().toUtf8());
    return mime;
  }
};

// The configured list: takes a dictionary entry while its name is not in the list yet. The
// item view's own drop handling (which would insert the dragged items itself) is left out.
class TLanguageList : public QListWidget {
public:
  TLanguageList(TFLangDlg* dialog, QWidget* parent) : QListWidget(parent), dialog_(dialog) {}

protected:
  void dragEnterEvent(QDragEnterEvent* event) override { Answer(event); }
  void dragMoveEvent(QDragMoveEvent* event) override { Answer(event); }
  void dropEvent(QDropEvent* event) override {
    if (!Answer(event)) return;
    dialog_->DropDictionary(DraggedDictionary(event->mimeData()));
  }

private:
  bool Answer(QDropEvent* event) {
    if (!dialog_->CanDropDictionary(DraggedDictionary(event->mimeData()))) {
      event->ignore();
      return false;
    }
    // A copy: the dictionary list keeps its entry.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
  }

  TFLangDlg* dialog_;
};

QLabel* ReadOnlyText(std::initializer_list<const char*> lines) {
  QStringList text;
  for (const char* line : lines) text << QString::fromLatin1(line).trimmed();
  return new QLabel(text.join(QLatin1Char('\n')));
}

int CurrentRow(const QListWidget* list) {
  const QList<QListWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->row(selected.front());
}

}  // namespace

TFLangDlg::TFLangDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      model_(vle::LanguageNames(), vle::LanguageIds()) {
  setObjectName(QStringLiteral("FLangDlg"));
  setWindowTitle(QString::fromLatin1(Model::kCaption));

  edit_ = new QLineEdit;
  addBtn_ = new QPushButton(tr("&Add"));
  languages_ = new TLanguageList(this, nullptr);
  languages_->setSelectionMode(QAbstractItemView::SingleSelection);
  languages_->setDragDropMode(QAbstractItemView::DropOnly);
  languages_->setAcceptDrops(true);
  languages_->viewport()->setAcceptDrops(true);
  delBtn_ = new QPushButton(tr("&Del"));
  upBtn_ = new QToolButton;
  upBtn_->setArrowType(Qt::UpArrow);
  upBtn_->setToolTip(tr("Move up"));
  downBtn_ = new QToolButton;
  downBtn_->setArrowType(Qt::DownArrow);
  downBtn_->setToolTip(tr("Move down"));

  dictionaries_ = new TDictionaryList;
  dictionaries_->setSelectionMode(QAbstractItemView::SingleSelection);
  dictionaries_->setDragEnabled(true);
  dictionaries_->setDragDropMode(QAbstractItemView::DragOnly);
  dictionaries_->setDefaultDropAction(Qt::CopyAction);
  for (const vle::TLangEntry& d : model_.Dictionaries()) {
    auto* item = new QListWidgetItem(QString::fromStdString(d.name), dictionaries_);
    item->setToolTip(QString::number(d.id));
  }

  okBtn_ = new QPushButton(tr("&OK"));
  okBtn_->setDefault(true);
  cancelBtn_ = new QPushButton(tr("Cancel"));
  helpBtn_ = new QPushButton(tr("&Help"));
  helpBtn_->setToolTip(QString::fromLatin1(Model::kHelpHint));
  helpBtn_->setEnabled(HelpAvailable());

  languages_->setFixedSize(170, 120);
  dictionaries_->setFixedSize(210, 120);

  // Edit and Add over the configured list with Del, up and down beside it; the dictionaries
  // under their caption; the note; the dialog's buttons on the right.
  auto* moves = new QVBoxLayout;
  moves->addWidget(delBtn_);
  moves->addWidget(upBtn_, 0, Qt::AlignHCenter);
  moves->addWidget(downBtn_, 0, Qt::AlignHCenter);
  moves->addStretch();

  auto* grid = new QGridLayout;
  grid->addWidget(edit_, 0, 0);
  grid->addWidget(addBtn_, 0, 1);
  grid->addWidget(languages_, 1, 0);
  grid->addLayout(moves, 1, 1);
  grid->addWidget(ReadOnlyText({"Available dictionaries on ", "this computer:"}), 0, 2, Qt::AlignBottom);
  grid->addWidget(dictionaries_, 1, 2);
  grid->addWidget(ReadOnlyText({"These language ", "names will ", "appear in the ", "string editor only."}), 1, 3,
                  Qt::AlignTop);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okBtn_);
  buttons->addWidget(cancelBtn_);
  buttons->addWidget(helpBtn_);
  buttons->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(grid, 1);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (showing_) return;
    model_.SetEditText(text.toStdString());
    ShowModel();
  });
  connect(addBtn_, &QPushButton::clicked, this, [this] {
    model_.BtnAddClick();
    ShowModel();
  });
  connect(languages_, &QListWidget::itemSelectionChanged, this, [this] {
    if (showing_) return;
    model_.SelectLanguage(CurrentRow(languages_));
    ShowModel();
  });
  connect(languages_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    model_.SelectLanguage(languages_->row(item));
    model_.LanguagesDblClick();
  });
  connect(delBtn_, &QPushButton::clicked, this, [this] {
    model_.BtnDelClick();
    ShowModel();
  });
  connect(upBtn_, &QToolButton::clicked, this, [this] {
    model_.BtnUpClick();
    ShowModel();
  });
  connect(downBtn_, &QToolButton::clicked, this, [this] {
    model_.BtnDownClick();
    ShowModel();
  });
  connect(dictionaries_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    model_.DictionaryClick(dictionaries_->row(item));
    ShowModel();
  });
  connect(dictionaries_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    model_.DictionaryDblClick(dictionaries_->row(item));
    ShowModel();
  });
  connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelBtn_, &QPushButton::clicked, this, &QDialog::reject);
  connect(helpBtn_, &QPushButton::clicked, this, [] { OpenHelp(Model::kHelpKeyword); });

  ShowModel();
  edit_->setFocus();
}

int TFLangDlg::DictionaryIndex(const QString& name) const {
  if (name.isEmpty()) return -1;
  const std::string utf8 = name.toStdString();
  const auto& dictionaries = model_.Dictionaries();
  for (size_t i = 0; i < dictionaries.size(); ++i)
    if (dictionaries[i].name == utf8) return static_cast<int>(i);
  return -1;
}

bool TFLangDlg::CanDropDictionary(const QString& name) const { return model_.DictionaryDragOver(DictionaryIndex(name)); }

void TFLangDlg::DropDictionary(const QString& name) {
  model_.DictionaryDragDrop(DictionaryIndex(name));
  ShowModel();
}

void TFLangDlg::ShowModel() {
  showing_ = true;
  const QSignalBlocker blockList(languages_), blockEdit(edit_);
  const auto& entries = model_.Languages();
  bool same = languages_->count() == static_cast<int>(entries.size());
  for (int i = 0; same && i < languages_->count(); ++i)
    same = languages_->item(i)->text() == QString::fromStdString(entries[i].name);
  if (!same) {
    languages_->clear();
    for (const vle::TLangEntry& e : entries) languages_->addItem(QString::fromStdString(e.name));
  }
  if (model_.ItemIndex() < 0) {
    languages_->clearSelection();
    languages_->setCurrentRow(-1);
  } else {
    languages_->setCurrentRow(model_.ItemIndex());
  }
  if (const QString text = QString::fromStdString(model_.EditText()); edit_->text() != text) edit_->setText(text);
  addBtn_->setEnabled(model_.AddEnabled());
  delBtn_->setEnabled(model_.DelEnabled());
  upBtn_->setEnabled(model_.UpEnabled());
  downBtn_->setEnabled(model_.DownEnabled());
  showing_ = false;
}

void TFLangDlg::accept() {
  vle::ApplyLanguageSetup(model_);
  QDialog::accept();
}

void TFLangDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (placed_) return;
  placed_ = true;
  CentreOnScreen(this);
}

bool ExecLanguageSetup(QWidget* parent) {
  TFLangDlg dialog(parent);
  return dialog.exec() == QDialog::Accepted;
}

bool EditLanguageSettings(QWidget* parent) {
  try {
    vle::LoadExpertSettings();
  } catch (const std::exception& e) {
    ports::MessageDlg(std::string("The settings could not be read:\r") + e.what(), ports::mtError, {ports::mbOK});
    return false;
  }
  if (!ExecLanguageSetup(parent)) return false;
  try {
    vle::SaveLanguages(vle::LanguageNames(), vle::LanguageIds());
  } catch (const std::exception& e) {
    ports::MessageDlg(std::string("The languages could not be saved:\r") + e.what(), ports::mtError, {ports::mbOK});
    return false;
  }
  return true;
}

}  // namespace vorlect::ui
