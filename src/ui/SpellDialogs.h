// The spell checker's two windows: the speller dialog that works through the problems of an
// interactive check, and the setup dialog of a checker's options. Both only show their logic's
// model (spell::TSpellerDialog, vle::TFrmSpellSetup) and forward the user's clicks to it.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

#include "spell/SpellerDialog.h"
#include "vle/spellcheck/SpellSetup.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace vorlect::ui {

class TSpellerWindow : public QDialog, public spell::TSpellerDialogView {
  Q_OBJECT
public:
  explicit TSpellerWindow(QWidget* parent = nullptr);

  void Show(spell::TSpellerDialog& dialog, bool modal) override;
  void Hide(spell::TSpellerDialog& dialog) override;
  void Changed(spell::TSpellerDialog& dialog) override;

  QLabel* InfoMsg() const { return infoMsg_; }
  // The line around the problem; only the red run is editable.
  QTextEdit* Misspelling() const { return misspelling_; }
  QListWidget* Variants() const { return variants_; }
  QPushButton* Button(const QString& name) const;
  // The red run as the box shows it now.
  QString RedText() const { return red_; }

protected:
  void reject() override;  // Escape and the close box: the Cancel button
  bool event(QEvent* event) override;

private:
  void Refresh();
  void ShowVariants(const spell::TSpellerDialog& d, std::uint8_t charset);
  // Puts the model's line into the box: protected text around the red run, caret at its start.
  void RenderContext(const spell::TSpellerDialog& d, std::uint8_t charset);
  void Paint(int caret);
  void ContextEdited();

  spell::TSpellerDialog* dialog_ = nullptr;
  bool refreshing_ = false;
  bool placed_ = false;
  // The context box: the protected text before and after the red run, as bytes of the language's
  // code page (exactly as the model holds them) and as shown; the red run as shown; the bytes
  // of the whole line last handed to the model.
  std::string prefixBytes_, suffixBytes_, boxBytes_;
  QString prefix_, suffix_, red_;
  bool painting_ = false;
  QLabel *infoMsg_, *label2_;
  QTextEdit* misspelling_;
  QListWidget* variants_;
  QPushButton *change_, *changeAll_, *skip_, *skipAll_, *add_, *cancel_, *cancelEdit_, *del_, *start_;
};

// The setup dialog: one check box per option; the checker changes only on OK.
class TSpellSetupWindow : public vle::TSpellSetupView {
public:
  explicit TSpellSetupWindow(QWidget* parent = nullptr) : parent_(parent) {}
  int ShowModal(vle::TFrmSpellSetup& dialog) override;

private:
  QWidget* parent_;
};

}  // namespace vorlect::ui
