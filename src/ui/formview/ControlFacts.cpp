#include "ui/formview/ControlFacts.h"

#include "host/framework/controls/ComCtrls.h"
#include "host/framework/controls/ExtCtrls.h"
#include "host/framework/controls/Menus.h"
#include "host/framework/controls/StdCtrls.h"
#include "ui/QtText.h"

#include <cstdlib>

namespace vorlect::ui::formview {

using namespace vorlect::host;

namespace {

template <class T>
bool Is(const TComponent& c) {
  return c.InheritsFrom(T::StaticClass());
}

const TControl* FormOf(const TControl& control) {
  const TControl* c = &control;
  while (c->Parent()) c = c->Parent();
  return c;
}

QStringList Texts(const TControl& control, const TStrings* list) {
  QStringList out;
  if (!list) return out;
  for (int i = 0; i < list->Count(); ++i) out << Shown(control, list->Strings(i));
  return out;
}

}  // namespace

Kind KindOf(const TComponent& c) {
  if (!Is<TControl>(c)) return Kind::None;
  if (Is<TCustomForm>(c)) return Kind::Container;
  // Descendants before their ancestors.
  if (Is<TCustomRadioGroup>(c)) return Kind::RadioGroup;
  if (Is<TCustomGroupBox>(c)) return Kind::GroupBox;
  if (Is<TCustomMemo>(c)) return Kind::Memo;
  if (Is<TCustomEdit>(c)) return Kind::Edit;
  if (Is<TCustomLabel>(c) || Is<TCustomStaticText>(c)) return Kind::Label;
  if (Is<TCustomButton>(c)) return Kind::Button;
  if (Is<TSpeedButton>(c) || Is<TToolButton>(c)) return Kind::ToolButton;
  if (Is<TCustomCheckBox>(c)) return Kind::CheckBox;
  if (Is<TRadioButton>(c)) return Kind::RadioButton;
  if (Is<TCustomPanel>(c)) return Kind::Panel;
  if (Is<TCustomListBox>(c)) return Kind::ListBox;
  if (Is<TCustomComboBox>(c)) return Kind::ComboBox;
  if (Is<TCustomListView>(c)) return Kind::ListView;
  if (Is<TCustomTreeView>(c)) return Kind::TreeView;
  if (Is<TPageControl>(c) || Is<TTabbedNotebook>(c)) return Kind::PageControl;
  if (Is<TCustomTabControl>(c) || Is<TTabSet>(c)) return Kind::TabControl;
  if (Is<TNotebook>(c)) return Kind::Notebook;
  if (Is<TTabSheet>(c) || Is<TPage>(c)) return Kind::Page;
  if (Is<TStatusBar>(c)) return Kind::StatusBar;
  if (Is<TToolBar>(c)) return Kind::ToolBar;
  if (Is<TBevel>(c)) return Kind::Bevel;
  if (Is<TScrollBar>(c)) return Kind::ScrollBar;
  if (Is<TProgressBar>(c)) return Kind::ProgressBar;
  if (Is<TTrackBar>(c)) return Kind::TrackBar;
  if (Is<TCustomFrame>(c) || Is<TScrollBox>(c)) return Kind::Container;
  if (Is<TImage>(c) || Is<TPaintBox>(c) || Is<TShape>(c) || Is<TSplitter>(c)) return Kind::Blank;
  return Kind::Placeholder;
}

int TextCharset(const TControl& control) {
  const int own = control.Font()->Charset();
  if (own != DEFAULT_CHARSET) return own;
  return FormOf(control)->Font()->Charset();
}

QString Shown(const TControl& control, std::string_view bytes) {
  return FromCharset(bytes, static_cast<std::uint8_t>(TextCharset(control)));
}

QFont FontOf(const TControl& control) {
  const TFont& f = *control.Font();
  QFont font(QString::fromLatin1(f.Name().c_str()));
  // Height is the character height in pixels when negative, the cell height when positive.
  const int pixels = std::abs(f.Height());
  if (pixels > 0) font.setPixelSize(f.Height() < 0 ? pixels : std::max(1, pixels * 4 / 5));
  font.setBold(f.Style().Contains(fsBold));
  font.setItalic(f.Style().Contains(fsItalic));
  font.setUnderline(f.Style().Contains(fsUnderline));
  font.setStrikeOut(f.Style().Contains(fsStrikeOut));
  return font;
}

QRect BoundsOf(const TControl& control) {
  return QRect(control.Left(), control.Top(), std::max(0, control.Width()), std::max(0, control.Height()));
}

QSize ClientSizeOf(const TControl& form, bool hasMenu) {
  // Width and Height are what positions switch; a form stored with its client size has none.
  if (form.Width() <= 0 || form.Height() <= 0) return QSize(std::max(0, form.ClientWidth()), std::max(0, form.ClientHeight()));
  // A sizeable frame of 4 pixels on each side, a caption of 19 and a menu bar of 19.
  return QSize(std::max(0, form.Width() - 8), std::max(0, form.Height() - 27 - (hasMenu ? 19 : 0)));
}

QStringList ItemTexts(const TControl& c) {
  if (auto* list = dynamic_cast<const TCustomListBox*>(&c)) return Texts(c, list->Items());
  if (auto* combo = dynamic_cast<const TCustomComboBox*>(&c)) return Texts(c, combo->Items());
  if (auto* group = dynamic_cast<const TCustomRadioGroup*>(&c)) return Texts(c, group->Items());
  if (auto* tabs = dynamic_cast<const TCustomTabControl*>(&c)) return Texts(c, tabs->Tabs());
  if (auto* tabSet = dynamic_cast<const TTabSet*>(&c)) return Texts(c, tabSet->Tabs());
  if (auto* bar = dynamic_cast<const TStatusBar*>(&c)) {
    if (bar->SimplePanel) return {Shown(c, bar->SimpleText)};
    QStringList out;
    for (int i = 0; i < bar->Panels()->Count(); ++i) out << Shown(c, bar->Panels()->Items(i)->Text);
    return out;
  }
  return {};
}

bool IsSeparatorCaption(std::string_view caption) { return caption == "-"; }

}  // namespace vorlect::ui::formview
