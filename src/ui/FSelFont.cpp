#include "ui/FSelFont.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <vector>

#include "ui/FontListBox.h"
#include "ui/Help.h"
#include "ui/QtPorts.h"
#include "ui/QtText.h"

namespace vorlect::ui {

namespace {

int SelectedRow(const QListWidget* list) {
  const QList<QListWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->row(selected.front());
}

void SelectRow(QListWidget* list, int row) {
  if (row < 0) {
    list->clearSelection();
    list->setCurrentRow(-1);
    return;
  }
  list->setCurrentRow(row);
  list->scrollToItem(list->item(row), QAbstractItemView::PositionAtCenter);
}

}  // namespace

TFrmSelFont::TFrmSelFont(QWidget* parent) : TOKRightDlg(parent) {
  setWindowTitle(QString::fromLatin1(vle::TFrmSelFont::kCaption));

  fontList_ = new TFontListBox(Bevel());
  // A font whose name the ANSI code page cannot hold could not be stored in the table.
  std::vector<std::string> fonts;
  for (int i = fontList_->count() - 1; i >= 0; --i) {
    bool lossy = false;
    ToAnsi(fontList_->item(i)->text(), &lossy);
    if (lossy) delete fontList_->takeItem(i);
  }
  for (int i = 0; i < fontList_->count(); ++i) fonts.push_back(ToAnsi(fontList_->item(i)->text()));
  model_.SetFonts(std::move(fonts));

  charsetList_ = new QListWidget(Bevel());
  charsetList_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const std::string& name : model_.Charsets()) charsetList_->addItem(QString::fromStdString(name));

  auto* fontLabel = new QLabel(QString::fromLatin1(vle::TFrmSelFont::kFontLabel), Bevel());
  fontLabel->setBuddy(fontList_);
  auto* charsetLabel = new QLabel(QString::fromLatin1(vle::TFrmSelFont::kCharsetLabel), Bevel());
  charsetLabel->setBuddy(charsetList_);

  sample_ = new QLineEdit(QString::fromLatin1(vle::TFrmSelFont::kSampleText), Bevel());

  fontList_->setMinimumSize(190, 170);
  charsetList_->setMinimumSize(charsetList_->sizeHintForColumn(0) + 30, 170);

  auto* grid = new QGridLayout(Bevel());
  grid->addWidget(fontLabel, 0, 0);
  grid->addWidget(charsetLabel, 0, 1);
  grid->addWidget(fontList_, 1, 0);
  grid->addWidget(charsetList_, 1, 1);
  grid->addWidget(sample_, 2, 0, 1, 2);

  helpBtn_ = new QPushButton(QString::fromLatin1(vle::TFrmSelFont::kHelpCaption));
  AddButton(helpBtn_);
  // The help page is optional; without it the button has nothing to open.
  helpBtn_->setEnabled(HelpAvailable());
  connect(helpBtn_, &QPushButton::clicked, this, [] { OpenHelp(vle::TFrmSelFont::kHelpKeyword); });

  // A selection changes by click or by key; a click on the selected entry changes nothing but
  // still counts as a click.
  connect(fontList_, &QListWidget::itemSelectionChanged, this, &TFrmSelFont::FontListClick);
  connect(fontList_, &QListWidget::itemClicked, this, &TFrmSelFont::FontListClick);
  connect(charsetList_, &QListWidget::itemSelectionChanged, this, &TFrmSelFont::CharsetListClick);
  connect(charsetList_, &QListWidget::itemClicked, this, &TFrmSelFont::CharsetListClick);

  // The font list box selects its first entry; the dialog starts from the model, which has none.
  Preselect({}, {});
}

void TFrmSelFont::Preselect(const std::string& fontName, const std::string& charsetName) {
  model_.Preselect(fontName, charsetName);
  {
    const QSignalBlocker fonts(fontList_), charsets(charsetList_);
    SelectRow(fontList_, model_.FontIndex());
    SelectRow(charsetList_, model_.CharsetIndex());
  }
  ShowModel();
}

void TFrmSelFont::FontListClick() {
  model_.FontListClick(SelectedRow(fontList_));
  ShowModel();
}

void TFrmSelFont::CharsetListClick() {
  model_.CharsetListClick(SelectedRow(charsetList_));
  ShowModel();
}

void TFrmSelFont::ShowModel() {
  ports::FontSpec fontSpec;
  fontSpec.name = model_.SampleFontName();
  fontSpec.height = vle::TFrmSelFont::kSampleFontHeight;
  fontSpec.charset = static_cast<std::uint8_t>(model_.SampleCharset());
  sample_->setFont(QtFont(fontSpec));
  OKBtn()->setEnabled(model_.OKEnabled());
}

std::optional<vle::TSelFontChoice> SelectFontAndCharset(QWidget* parent, const std::string& fontName,
                                                     const std::string& charsetName) {
  TFrmSelFont dialog(parent);
  dialog.Preselect(fontName, charsetName);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

}  // namespace vorlect::ui
