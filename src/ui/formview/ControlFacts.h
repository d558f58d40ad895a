// What the form view needs to know of a component, read from the component tree alone: which
// kind of widget shows it, its texts as Unicode, its bounds and its font. No widgets here, so
// that the view stays a thin layer and a designer can ask the same questions.
#pragma once

#include "host/framework/Classes.h"
#include "host/framework/Controls.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <string_view>

namespace vorlect::ui::formview {

enum class Kind {
  None,          // not shown (non-visual components, menus: the menu bar shows those)
  Label,
  Button,
  ToolButton,    // speed buttons and tool-bar buttons
  Edit,
  Memo,
  CheckBox,
  RadioButton,
  GroupBox,
  RadioGroup,
  Panel,
  ListBox,
  ComboBox,
  ListView,
  TreeView,
  TabControl,    // tabs over one area (tab controls, tab sets without pages)
  PageControl,   // one page per child (page controls, tabbed notebooks)
  Notebook,      // one page per child, no tabs
  Page,          // a page of a page control or notebook
  StatusBar,
  ToolBar,
  Bevel,
  ScrollBar,
  ProgressBar,
  TrackBar,
  Container,     // frames, scroll boxes: children only
  Blank,         // images, paint boxes, shapes, splitters: nothing we can draw
  Placeholder,   // a control of a class we do not show: a frame with its class name
};

Kind KindOf(const host::TComponent& component);

// The character set a control's texts are in: its font's, or the form's when the font leaves it
// to the system (DEFAULT_CHARSET): the form's is the one the language switch sets.
int TextCharset(const host::TControl& control);
QString Shown(const host::TControl& control, std::string_view bytes);

// The control's font as Qt draws it: Height in pixels, name, style.
QFont FontOf(const host::TControl& control);

// Bounds within the parent (for the form: its client area at the origin).
QRect BoundsOf(const host::TControl& control);
// The client area of a form: Width and Height less the frame, the caption and (with `hasMenu`)
// the menu bar; ClientWidth/ClientHeight for a form stored with those alone.
QSize ClientSizeOf(const host::TControl& form, bool hasMenu);

// The texts a control shows in its items, in order (list box and combo box items, radio-group
// buttons, tab captions, status-bar panels).
QStringList ItemTexts(const host::TControl& control);

// A menu item's caption as Qt shows it; "-" is a separator (an empty result).
bool IsSeparatorCaption(std::string_view caption);

}  // namespace vorlect::ui::formview
