// TFrmSelFont: the font and character set dialog over vle::TFrmSelFont.
#pragma once

#include <optional>
#include <string>

#include "ui/OkCancl2.h"
#include "vle/FSelFont.h"

class QLineEdit;
class QListWidget;

namespace vorlect::ui {

class TFontListBox;

class TFrmSelFont : public TOKRightDlg {
  Q_OBJECT

public:
  explicit TFrmSelFont(QWidget* parent = nullptr);

  // Selects the entries of the two names (ANSI text), letter case ignored; a name a list does not
  // hold leaves it without a selection, and OK waits for one.
  void Preselect(const std::string& fontName, const std::string& charsetName);
  // The selected names; nullopt while a list has no selection.
  std::optional<vle::TSelFontChoice> Choice() const { return model_.Choice(); }

  const vle::TFrmSelFont& Model() const { return model_; }
  TFontListBox* FontList() const { return fontList_; }
  QListWidget* CharsetList() const { return charsetList_; }
  QLineEdit* Sample() const { return sample_; }
  QPushButton* HelpBtn() const { return helpBtn_; }

private:
  void FontListClick();
  void CharsetListClick();
  void ShowModel();

  vle::TFrmSelFont model_;
  TFontListBox* fontList_;
  QListWidget* charsetList_;
  QLineEdit* sample_;
  QPushButton* helpBtn_;
};

// Shows the dialog with the two names preselected; the choice on OK, nullopt on Cancel. Fits the
// editor's SelectFont.
std::optional<vle::TSelFontChoice> SelectFontAndCharset(QWidget* parent, const std::string& fontName,
                                                     const std::string& charsetName);

}  // namespace vorlect::ui
