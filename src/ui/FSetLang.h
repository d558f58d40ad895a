// TFLangDlg: the language setup dialog over vle::TFLangDlg. The configured languages title the
// editor's columns and choose each column's speller; the dictionary list offers the registered
// speller languages, by click, double click or drag onto the configured list.
#pragma once

#include <QDialog>

#include "vle/FSetLang.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace vorlect::ui {

// The MIME type of a dictionary entry dragged onto the configured list: the name in UTF-8.
inline constexpr const char* kDictionaryMimeType = "application/x-vorlect-dictionary";

class TFLangDlg : public QDialog {
  Q_OBJECT

public:
  // Over the expert-wide LanguageNames and LanguageIds and the registered speller languages.
  explicit TFLangDlg(QWidget* parent = nullptr);

  const vle::TFLangDlg& Model() const { return model_; }
  QLineEdit* Edit() const { return edit_; }
  QListWidget* Languages() const { return languages_; }
  QListWidget* Dictionaries() const { return dictionaries_; }
  QPushButton* AddBtn() const { return addBtn_; }
  QPushButton* DelBtn() const { return delBtn_; }
  QToolButton* UpBtn() const { return upBtn_; }
  QToolButton* DownBtn() const { return downBtn_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }
  QPushButton* HelpBtn() const { return helpBtn_; }

  // Whether a dictionary entry of this name may be dropped on the configured list, and the drop.
  bool CanDropDictionary(const QString& name) const;
  void DropDictionary(const QString& name);

  void accept() override;  // "&OK": the configured list into LanguageNames and LanguageIds

protected:
  void showEvent(QShowEvent* event) override;

private:
  int DictionaryIndex(const QString& name) const;
  // Shows the model: the configured list with its selection, the edit field, the buttons.
  void ShowModel();

  vle::TFLangDlg model_;
  QLineEdit* edit_;
  QListWidget *languages_, *dictionaries_;
  QPushButton *addBtn_, *delBtn_, *okBtn_, *cancelBtn_, *helpBtn_;
  QToolButton *upBtn_, *downBtn_;
  bool showing_ = false;
  bool placed_ = false;
};

// Shows the dialog modally over the expert-wide lists; true on OK (the lists then hold the
// configured languages; they are saved when the expert ends).
bool ExecLanguageSetup(QWidget* parent);

// The dialog on its own, as `vorlect-gui languages` runs it: loads the settings, shows the
// dialog and on OK saves the language list, the same machine-wide list `vorlect languages set`
// writes. True when the user chose OK and the list was saved; a failure to read or write the
// settings is shown as an error.
bool EditLanguageSettings(QWidget* parent = nullptr);

}  // namespace vorlect::ui
