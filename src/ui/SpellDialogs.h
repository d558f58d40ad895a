// The spell checker's two windows: the speller dialog that works through the problems of an
// interactive check, and the setup dialog of a checker's options. Both only show their logic's
// model (spell::TSpellerDialog, vle::TFrmSpellSetup) and forward the user's clicks to it.
#pragma once

#include <QDialog>

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
  QTextEdit* Misspelling() const { return misspelling_; }
  QListWidget* Variants() const { return variants_; }
  QPushButton* Button(const QString& name) const;

protected:
  void reject() override;  // Escape and the close box: the Cancel button

private:
  void Refresh();
  void ContextEdited();

  spell::TSpellerDialog* dialog_ = nullptr;
  bool refreshing_ = false;
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
