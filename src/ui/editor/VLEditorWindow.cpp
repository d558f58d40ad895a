#include "ui/editor/VLEditorWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "runtime/VLBase.h"
#include "ui/FCSVSetup.h"
#include "ui/FPressKey.h"
#include "ui/Help.h"
#include "ui/FSelFont.h"
#include "ui/QtPorts.h"
#include "ui/QtText.h"
#include "ui/SpellDialogs.h"
#include "ui/editor/FindReplaceDialog.h"
#include "vle/VLCsv.h"
#include "vle/VLSettings.h"
#include "vle/spellcheck/SpellTranslations.h"

namespace vorlect::ui {

namespace {

constexpr int kToolButton = 25;

// The tool bar's pictures: a symbol drawn on a transparent square, so that they scale with the
// screen and need no image files.
QIcon ToolIcon(const QString& symbol, QColor colour) {
  QPixmap pixmap(42, 42);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont f = QApplication::font();
  f.setPixelSize(symbol.size() > 1 ? 20 : 30);
  f.setBold(true);
  p.setFont(f);
  p.setPen(colour);
  p.drawText(pixmap.rect(), Qt::AlignCenter, symbol);
  return QIcon(pixmap);
}

struct TCommand {
  const char* name;      // object name
  const char* menu;      // the menu it is in
  const char* caption;
  const char* shortcut;
  const char* toolHint;  // a tool bar button with this hint; null: none
  const char* hint;      // the status bar's text while the item is highlighted
  const char* symbol;
  QColor colour;
};

// The command surface, in menu order.
const TCommand kCommands[] = {
    {"UpdateTable1", "&File", "&Update Table", "Ctrl+U", "Update list", "Add/ Remove entries according to the form", "\u21bb", QColor(0, 110, 0)},
    {"SpellChecker1", "&File", "Spell-Checker", "F7", nullptr, "", "", {}},
    {"CompressPositions1", "&File", "Compress &Positions", "Ctrl+P", "Compress Positions", "", "\u21f2", QColor(90, 60, 0)},
    {"ExportCSV1", "&File", "&Export CSV...", "", "Export to a schema file", "Export table into a CSV file", "\u2197", QColor(0, 70, 160)},
    {"ImportCSV1", "&File", "&Import CSV...", "", "Import from a schema file", "Import a table from a CSV file", "\u2199", QColor(0, 70, 160)},
    {"AddCSV1", "&File", "A&dd CSV...", "", nullptr, "Add a language from a CSV file", "", {}},
    {"Cancel1", "&File", "Cancel", "", "Cancel - no changes", "Ignore changes and leave", "\u2717", QColor(190, 0, 0)},
    {"Accept1", "&File", "&Accept", "", "Accept changes", "Accept changes and leave", "\u2713", QColor(0, 140, 0)},
    {"Undo1", "&Edit", "&Undo", "Ctrl+Z", nullptr, "Undo the last change", "", {}},
    {"Redo1", "&Edit", "&Redo", "Ctrl+Y", nullptr, "Redo the last change undone", "", {}},
    {"Cut1", "&Edit", "Cu&t", "Shift+Del", nullptr, "Cut out selected text and copy to clipboard", "", {}},
    {"Copy1", "&Edit", "&Copy", "Ctrl+Ins", nullptr, "Copy the selected text to the clipboard", "", {}},
    {"Paste1", "&Edit", "&Paste", "Shift+Ins", nullptr, "Paste the text from clipboard at the selected spot", "", {}},
    {"Delete1", "&Edit", "Delete", "Ctrl+Del", nullptr, "Delete the selectries", "", {}},
    {"InsertLanguage1", "&Edit", "Insert Language", "", nullptr, "Insert a column right of the cursor", "", {}},
    {"DeleteLanguage1", "&Edit", "Delete Language", "", nullptr, "Delete the column where cursor is", "", {}},
    {"InsertRow1", "&Edit", "Insert Row", "", "Insert entry", "Insert an empty row", "+", QColor(0, 0, 0)},
    {"DeleteRows1", "&Edit", "Delete Row(s)", "Alt+Del", "Remove entry", "Delete the current and following entries of a component", "\u2212", QColor(0, 0, 0)},
    {"ToggleComponent1", "&Edit", "T&oggle Component", "F8", nullptr, "", "", {}},
    {"Find1", "&Search", "&Find", "Ctrl+F", "Find a text", "Find a string", "?", QColor(0, 0, 120)},
    {"Replace1", "&Search", "&Replace", "Ctrl+R", "Search & Replace", "Search and replace a string", "a\u2192b", QColor(0, 0, 120)},
    {"EmptyField1", "&Search", "&Empty Field", "Ctrl+E", nullptr, "Jump to the next empty field in the table", "", {}},
    {"Duplicates1", "&Search", "&Duplicates", "Ctrl+D", nullptr, "Search for duplicate entries", "", {}},
    {"Translate1x1", "&Translation", "&Translate 1x", "", "Smart fill ONE", "Copy an existing translation", "1", QColor(120, 0, 120)},
    {"TranslateAll1", "&Translation", "Translate All", "", "Smart fill ALL", "Copy all exisiting translations", "\u2200", QColor(120, 0, 120)},
    {"ChangeLanguage1", "&Translation", "&Change Language", "F6", nullptr, "Switch to the next language in the table", "", {}},
    {"Font1", "&View", "&Font", "", "Change font for the table", "Change font for the table", "F", QColor(0, 0, 0)},
    {"SizeColumns1", "&View", "&Size Columns", "", nullptr, "Reset the column widths to standard values", "", {}},
    {"Disappear1", "&View", "&Disappear", "F9", nullptr, "Let this window temporarily disappear", "", {}},
    {"ReFilter1", "&View", "&Re-Filter", "Alt+R", nullptr, "", "", {}},
    {"Sort1", "&View", "S&ort", "", "Sort Entries", "Sort Entries", "\u21c5", QColor(0, 0, 0)},
    {"CSVFormat1", "&Options", "&CSV Format", "", nullptr, "", "", {}},
    {"SpellChecker2", "&Options", "Spell-Checker", "", nullptr, "", "", {}},
    {"Index1", "&Help", "&Index", "", "Help", "Open the help file", "i", QColor(0, 0, 160)},
    {"About1", "&Help", "&About...", "", nullptr, "", "", {}},
};

QString Caption(const char* s) { return QString::fromUtf8(s); }

ports::FontSpec FontSpecOf(const QFont& font) {
  ports::FontSpec fontSpec;
  fontSpec.name = ToAnsi(font.family());
  fontSpec.size = font.pointSize() > 0 ? font.pointSize() : 8;
  fontSpec.height = 0;
  fontSpec.bold = font.bold();
  fontSpec.italic = font.italic();
  fontSpec.underline = font.underline();
  fontSpec.strikeOut = font.strikeOut();
  return fontSpec;
}

}  // namespace

TEditVorlectWindow::TEditVorlectWindow(vle::TFEditVorlect& editor, QWidget* parent)
    : QMainWindow(parent), editor_(editor) {
  setObjectName("FEditVorlect");
  setWindowTitle(Caption(vle::kEditorCaption));
  setAttribute(Qt::WA_DeleteOnClose, false);
  grid_ = new TVLStrGridWidget(editor_.Grid(), this);
  grid_->setObjectName("StringGrid1");
  setCentralWidget(grid_);
  BuildActions();
  BuildMenusAndToolBar();
  BuildStatusBar();
  ConnectGrid();
  findDialog_ = new TFindReplaceDialog(editor_, this);
  findDialog_->RunStep = [this](const QString& label, const std::function<void()>& step) { Run(label, step); };
  history_.OnChange = [this] { UpdateUndoActions(); };

  SelectFont = [this](const std::string& font, const std::string& charset) -> std::optional<vle::TFontChoice> {
    const auto choice = SelectFontAndCharset(this, font, charset);
    if (!choice) return std::nullopt;
    return vle::TFontChoice{choice->fontName, choice->charsetName};
  };
  SelectTableFont = [this](const ports::FontSpec& font, const std::function<void(const ports::FontSpec&)>& apply)
      -> std::optional<ports::FontSpec> {
    QFontDialog dialog(QtFont(font), this);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // The table font can be tried on the table before the dialog is left.
    if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
      QPushButton* applyButton = box->addButton(QDialogButtonBox::Apply);
      connect(applyButton, &QPushButton::clicked, &dialog, [&] { apply(FontSpecOf(dialog.currentFont())); });
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return FontSpecOf(dialog.selectedFont());
  };
  editor_.SelectFont = [this](const std::string& font, const std::string& charset) {
    return SelectFont ? SelectFont(font, charset) : std::nullopt;
  };
  editor_.CellAt = [this](int x, int y) {
    const auto [col, row] = grid_->CellAt(x, y);
    return vle::TCell{col, row};
  };
  resize(editor_.Settings().w, editor_.Settings().h);
  Refresh();
}

TEditVorlectWindow::~TEditVorlectWindow() {
  editor_.SelectFont = nullptr;
  editor_.CellAt = nullptr;
}

QAction* TEditVorlectWindow::Action(const QString& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

void TEditVorlectWindow::BuildActions() {
  std::map<QString, std::function<void()>> run = {
      {"UpdateTable1", [this] { Run(tr("Update Table"), [this] { editor_.UpdateTable(); }); }},
      {"SpellChecker1", [this] { DoSpellCheck(); }},
      {"CompressPositions1", [this] { Run(tr("Compress Positions"), [this] { editor_.CompressPositions(); }); }},
      {"ExportCSV1", [this] { Run(tr("Export CSV"), [this] { editor_.ExportCsv(); }); }},
      {"ImportCSV1", [this] { Run(tr("Import CSV"), [this] { editor_.ImportCsv(); }); }},
      {"AddCSV1", [this] { Run(tr("Add CSV"), [this] { editor_.AddCsvFile(); }); }},
      {"Cancel1", [this] { DoCancel(); }},
      {"Accept1", [this] { DoAccept(); }},
      {"Undo1", [this] {
         grid_->CommitEdit();
         history_.Undo(editor_);
         Refresh();
       }},
      {"Redo1", [this] {
         grid_->CommitEdit();
         history_.Redo(editor_);
         Refresh();
       }},
      {"Cut1", [this] { Run(tr("Cut"), [this] { editor_.Cut(); }); }},
      {"Copy1", [this] { Run(tr("Copy"), [this] { editor_.Copy(); }); }},
      {"Paste1", [this] { Run(tr("Paste"), [this] { editor_.Paste(); }); }},
      {"Delete1", [this] { Run(tr("Delete"), [this] { editor_.Delete(); }); }},
      {"InsertLanguage1", [this] { Run(tr("Insert Language"), [this] { editor_.InsertLanguage(); }); }},
      {"DeleteLanguage1", [this] { Run(tr("Delete Language"), [this] { editor_.DeleteLanguage(); }); }},
      {"InsertRow1", [this] { Run(tr("Insert Row"), [this] { editor_.InsertRow(); }); }},
      {"DeleteRows1", [this] { Run(tr("Delete Row(s)"), [this] { editor_.DeleteRows(); }); }},
      {"ToggleComponent1", [this] { Run(tr("Toggle Component"), [this] { editor_.Toggle(); }); }},
      {"Find1", [this] { DoFind(false); }},
      {"Replace1", [this] { DoFind(true); }},
      {"EmptyField1", [this] { Run(tr("Empty Field"), [this] { editor_.EmptyField(); }); }},
      {"Duplicates1", [this] { Run(tr("Duplicates"), [this] { editor_.Duplicates(); }); }},
      {"Translate1x1", [this] { Run(tr("Translate 1x"), [this] { editor_.TranslateOne(); }); }},
      {"TranslateAll1", [this] { Run(tr("Translate All"), [this] { editor_.TranslateAll(); }); }},
      {"ChangeLanguage1", [this] { Run(tr("Change Language"), [this] { editor_.ChangeLanguage(); }); }},
      {"Font1", [this] { DoTableFont(); }},
      {"SizeColumns1", [this] {
         editor_.SizeColumns();
         Refresh();
       }},
      {"Disappear1", [this] { DoDisappear(); }},
      {"ReFilter1", [this] { Run(tr("Re-Filter"), [this] { editor_.ReFilter(); }); }},
      {"Sort1", [this] { Run(tr("Sort"), [this] { editor_.Sort(); }); }},
      {"CSVFormat1", [this] { DoCsvFormat(); }},
      {"SpellChecker2", [this] { DoSpellSetup(); }},
      {"Index1", [this] { DoHelp(); }},
      {"About1", [this] { DoAbout(); }},
  };
  for (const TCommand& c : kCommands) {
    auto* action = new QAction(Caption(c.caption), this);
    action->setObjectName(c.name);
    if (*c.shortcut) {
      action->setShortcut(QKeySequence(QString::fromLatin1(c.shortcut)));
      // Window-wide, so that the grid's in-place editor does not swallow them.
      action->setShortcutContext(Qt::WindowShortcut);
    }
    action->setStatusTip(Caption(c.hint));
    if (c.toolHint) action->setToolTip(Caption(c.toolHint));
    if (*c.symbol) action->setIcon(ToolIcon(QString::fromUtf8(c.symbol), c.colour));
    auto fn = run.at(c.name);
    connect(action, &QAction::triggered, this, [fn] { fn(); });
    addAction(action);
    actions_[c.name] = action;
  }
}

void TEditVorlectWindow::BuildMenusAndToolBar() {
  std::map<QString, QMenu*> menus;
  for (const TCommand& c : kCommands) {
    const QString menu = Caption(c.menu);
    if (!menus.count(menu)) menus[menu] = menuBar()->addMenu(menu);
    QMenu* m = menus[menu];
    const QString name = c.name;
    // The File menu leaves before it exports; the Edit menu's groups.
    if (name == "Cancel1" || name == "Cut1" || name == "InsertLanguage1" || name == "InsertRow1" ||
        name == "ToggleComponent1" || name == "EmptyField1" || name == "ChangeLanguage1" || name == "Disappear1" ||
        name == "About1" || name == "ExportCSV1")
      m->addSeparator();
    m->addAction(actions_[name]);
  }

  toolBar_ = addToolBar(tr("Tools"));
  toolBar_->setObjectName("ToolBar1");
  toolBar_->setMovable(false);
  toolBar_->setIconSize(QSize(kToolButton - 6, kToolButton - 6));
  for (const TCommand& c : kCommands) {
    if (!c.toolHint) continue;
    toolBar_->addAction(actions_[c.name]);
    if (auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(actions_[c.name]))) {
      button->setAutoRaise(true);  // flat
      button->setFixedSize(kToolButton, kToolButton);
    }
  }
  toolBar_->addSeparator();
  // Beyond the original: show only the rows a translator is looking for.
  filterBox_ = new QLineEdit;
  filterBox_->setObjectName("FilterBox");
  filterBox_->setPlaceholderText(tr("Filter rows"));
  filterBox_->setClearButtonEnabled(true);
  filterBox_->setMaximumWidth(180);
  filterBox_->setStatusTip(tr("Show only the rows holding this text"));
  toolBar_->addWidget(filterBox_);
  emptyFilter_ = toolBar_->addAction(ToolIcon(QStringLiteral("\u2205"), QColor(160, 0, 0)), tr("Rows with empty fields"));
  emptyFilter_->setObjectName("EmptyFilter");
  emptyFilter_->setCheckable(true);
  emptyFilter_->setStatusTip(tr("Show only the rows with empty fields"));
  connect(filterBox_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  connect(emptyFilter_, &QAction::toggled, this, [this] { ApplyFilter(); });
}

void TEditVorlectWindow::BuildStatusBar() {
  modePanel_ = new QLabel;
  modePanel_->setObjectName("ModePanel");
  modePanel_->setFixedWidth(120);
  modePanel_->setFrameShape(QFrame::Panel);
  modePanel_->setFrameShadow(QFrame::Sunken);
  emptyPanel_ = new QLabel;
  emptyPanel_->setObjectName("EmptyPanel");
  emptyPanel_->setFixedWidth(150);
  emptyPanel_->setFrameShape(QFrame::Panel);
  emptyPanel_->setFrameShadow(QFrame::Sunken);
  // Normal widgets: a hint shown in the status bar hides them, as a simple text replaces panels.
  statusBar()->addWidget(modePanel_);
  statusBar()->addWidget(emptyPanel_);
  statusBar()->installEventFilter(this);
  modePanel_->installEventFilter(this);
  emptyPanel_->installEventFilter(this);
}

void TEditVorlectWindow::ConnectGrid() {
  grid_->OnSelectCell = [this](int col, int row) {
    const bool ok = editor_.SelectCell(col, row);
    editor_.TakePendingShiftClick();  // the grid widget starts the range itself
    actions_["DeleteLanguage1"]->setEnabled(editor_.DeleteLanguageEnabled());
    modePanel_->setText(QString::fromLatin1(editor_.StatusModeText()));
    return ok;
  };
  grid_->OnKeyDown = [this](int vk, unsigned shift) {
    editor_.KeyDown(vk, shift);
    modePanel_->setText(QString::fromLatin1(editor_.StatusModeText()));
  };
  grid_->OnKeyUp = [this](int vk, unsigned shift) {
    // Only Up and Down at the end of the table can add or drop its empty row; other keys just
    // leave their shift state, and must not end an edit that a key press has just begun. (A step
    // of the history costs a copy of the table: not for every arrow key.)
    const grid::TVLStrGrid& g = editor_.Grid();
    const bool atEnd = (vk == vle::VK_UP && g.Row() == g.RowCount() - 2) || (vk == vle::VK_DOWN && g.Row() == g.RowCount() - 1);
    if (!atEnd) return editor_.KeyUp(vk, shift);
    bool swallowed = false;
    Run(tr("Rows"), [&] { swallowed = editor_.KeyUp(vk, shift); });
    return swallowed;
  };
  grid_->OnMouseDown = [this](int x, int y, unsigned shift) { editor_.MouseDown(vle::TMouseButton::mbLeft, shift, x, y); };
  grid_->OnMouseMove = [this](int x, int y, unsigned shift) { editor_.MouseMove(shift, x, y); };
  grid_->OnMouseUp = [this](int x, int y, unsigned shift) {
    // Only a click on the font row can change the table (through the font dialog).
    if (grid_->CellAt(x, y).second != 1) {
      editor_.MouseUp(vle::TMouseButton::mbLeft, shift, x, y);
      return;
    }
    Run(tr("Font of a language"), [&] { editor_.MouseUp(vle::TMouseButton::mbLeft, shift, x, y); });
  };
  grid_->OnKeyDblClick = [this] { Run(tr("Toggle Component"), [this] { editor_.DblClick(); }); };
  grid_->OnCellEdited = [this](int col, int row, const std::string& before) {
    history_.CellEdited(editor_, col, row, before);
    Refresh();
  };
  grid_->OnMoveColumn = [this](int from, int to) {
    Run(tr("Move Column"), [&] { editor_.Grid().MoveColumn(from, to); });
  };
  grid_->OnNotice = [this](const QString& message) { statusBar()->showMessage(message, 5000); };
  grid_->OnPaintFixedCell = [this](QPainter& p, int col, int row, const QRect& r) { PaintActiveMarker(p, col, row, r); };
}

void TEditVorlectWindow::PaintActiveMarker(QPainter& painter, int col, int row, const QRect& rect) {
  if (row != 0) return;
  QFont bold = QtFont(editor_.Grid().GridFont);
  bold.setBold(true);
  const std::string& title = editor_.Grid().Cells(col, 0);
  const QString text = QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
  const int titleWidth = QFontMetrics(bold).horizontalAdvance(text);
  const grid::TRect cell{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
  const auto marker = editor_.ActiveMarker(col, cell, titleWidth + 2);
  if (!marker) return;
  painter.save();
  painter.fillRect(rect.adjusted(1, 1, -1, -1), palette().color(QPalette::Button));
  painter.setPen(palette().color(QPalette::ButtonText));
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
  painter.setFont(bold);
  painter.drawText(QPoint(marker->textX + 2, marker->textY + 2 + QFontMetrics(bold).ascent()), text);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(palette().color(QPalette::ButtonText));
  QPolygon triangle;
  for (const vle::TPoint& p : marker->triangle) triangle << QPoint(p.x, p.y);
  painter.drawPolygon(triangle);
  painter.restore();
}

// ---- Running commands -------------------------------------------------------------------------------------

void TEditVorlectWindow::Run(const QString& label, const std::function<void()>& command) {
  grid_->CommitEdit();
  history_.Run(editor_, label.toStdString(), command);
  Refresh();
}

void TEditVorlectWindow::Refresh() {
  if (grid_->Filtered()) ApplyFilter();
  grid_->TableChanged();
  grid_->ScrollToCell(editor_.Grid().Col(), editor_.Grid().Row());
  modePanel_->setText(QString::fromLatin1(editor_.StatusModeText()));
  emptyPanel_->setText(QString::fromLatin1(editor_.StatusEmptyText()));
  actions_["DeleteLanguage1"]->setEnabled(editor_.DeleteLanguageEnabled());
  UpdateUndoActions();
}

void TEditVorlectWindow::UpdateUndoActions() {
  QAction* undo = actions_["Undo1"];
  QAction* redo = actions_["Redo1"];
  undo->setEnabled(history_.CanUndo());
  redo->setEnabled(history_.CanRedo());
  undo->setText(history_.CanUndo() ? tr("&Undo %1").arg(QString::fromStdString(history_.UndoLabel())) : tr("&Undo"));
  redo->setText(history_.CanRedo() ? tr("&Redo %1").arg(QString::fromStdString(history_.RedoLabel())) : tr("&Redo"));
}

// ---- Filter -------------------------------------------------------------------------------------------------

void TEditVorlectWindow::SetFilter(bool emptyOnly, const QString& text) {
  const QSignalBlocker a(filterBox_), b(emptyFilter_);
  filterBox_->setText(text);
  emptyFilter_->setChecked(emptyOnly);
  ApplyFilter();
}

void TEditVorlectWindow::ApplyFilter() {
  const bool emptyOnly = emptyFilter_->isChecked();
  const QString text = filterBox_->text();
  const grid::TVLStrGrid& g = editor_.Grid();
  if (!emptyOnly && text.isEmpty()) {
    if (grid_->Filtered()) grid_->ClearRowFilter();
    return;
  }
  std::vector<int> rows;
  for (int r = g.FixedRows(); r < g.RowCount(); ++r) {
    bool keep = true;
    if (emptyOnly) {
      keep = false;
      for (int k = 1; k < g.ColCount() && !keep; ++k) keep = g.Cells(k, r).empty();
    }
    if (keep && !text.isEmpty()) {
      keep = false;
      for (int k = 0; k < g.ColCount() && !keep; ++k)
        keep = !g.Cells(k, r).empty() && grid_->DisplayText(k, r).contains(text, Qt::CaseInsensitive);
    }
    // The row being worked on stays in view, or a filled-in empty field would vanish under the cursor.
    if (keep || r == g.Row()) rows.push_back(r);
  }
  grid_->SetRowFilter(std::move(rows));
}

// ---- Leaving ------------------------------------------------------------------------------------------------

void TEditVorlectWindow::DoAccept() {
  grid_->CommitEdit();
  if (!editor_.Accept()) {
    Refresh();
    return;
  }
  closing_ = true;
  close();
}

void TEditVorlectWindow::DoCancel() {
  grid_->CancelEdit();
  editor_.Cancel();
  closing_ = true;
  close();
}

void TEditVorlectWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    // The close box: leave without accepting.
    grid_->CancelEdit();
    editor_.Cancel();
    closing_ = true;
  }
  findDialog_->hide();
  event->accept();
  if (loop_) loop_->quit();
}

void TEditVorlectWindow::RunModal() {
  setWindowModality(Qt::ApplicationModal);
  ApplyGeometry();
  QEventLoop loop;
  loop_ = &loop;
  if (!editor_.Closed()) loop.exec(QEventLoop::DialogExec);
  loop_ = nullptr;
  hide();
}

bool TEditVorlectWindow::Open(runtime::TBaseVorlect& component, QWidget* parent) {
  return vle::TFEditVorlect::Open(component, [parent](vle::TFEditVorlect& editor) {
    TEditVorlectWindow window(editor, parent);
    window.RunModal();
  });
}

// ---- Geometry -----------------------------------------------------------------------------------------------

void TEditVorlectWindow::ApplyGeometry() {
  const vle::TEditorSettings& s = editor_.Settings();
  move(s.x, s.y);
  resize(s.w, s.h);
  if (s.Max) showMaximized();
  else show();
  geometryApplied_ = true;
  raise();
  activateWindow();
  grid_->setFocus();
  grid_->TableChanged();
}

void TEditVorlectWindow::GeometryChanged() {
  if (!geometryApplied_ || closing_) return;
  const QScreen* screen = this->screen();
  const int screenWidth = screen ? screen->availableGeometry().width() : 1 << 20;
  // A maximized window is as wide as the screen: it keeps the bounds of the normal window.
  const int width = isMaximized() ? screenWidth + 1 : this->width();
  editor_.WindowMovedOrResized(pos().x(), pos().y(), width, height(), screenWidth);
}

void TEditVorlectWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  GeometryChanged();
}

void TEditVorlectWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  GeometryChanged();
}

void TEditVorlectWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // From now on every move and resize is the user's (or the window manager's placing).
  geometryApplied_ = true;
}

void TEditVorlectWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) GeometryChanged();
}

bool TEditVorlectWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    // The hint of the item under the mouse, shown alone in the status bar while there is one.
    editor_.ApplicationHint = ToAnsi(static_cast<QStatusTipEvent*>(event)->tip());
  }
  return QMainWindow::event(event);
}

bool TEditVorlectWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress &&
      (watched == statusBar() || watched == modePanel_ || watched == emptyPanel_)) {
    // A click on the status bar jumps to the next empty field.
    actions_["EmptyField1"]->trigger();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- Dialog commands ------------------------------------------------------------------------------------------

void TEditVorlectWindow::DoFind(bool replace) {
  grid_->CommitEdit();
  if (replace) findDialog_->ShowReplace();
  else findDialog_->ShowFind();
}

void TEditVorlectWindow::DoTableFont() {
  grid_->CommitEdit();
  if (!SelectTableFont) return;
  const ports::FontSpec before = editor_.Grid().GridFont;
  auto apply = [this](const ports::FontSpec& font) {
    editor_.SetTableFont(font);
    // Rows sized for the old font would cut the new one's texts.
    editor_.Grid().CalcAllRowHeights();
    Refresh();
  };
  const auto chosen = SelectTableFont(before, apply);
  apply(chosen ? *chosen : before);
}

void TEditVorlectWindow::DoDisappear() {
  grid_->CommitEdit();
  hide();
  editor_.Disappear([this](vle::TFrmPressKey& notice) { TFrmPressKey::ShowNotice(notice.Notice(), vle::InfoEsc, this); });
  // Nothing else of ours is on the screen: a small window holds the focus until Escape.
  QDialog waiting;
  waiting.setWindowTitle(Caption(vle::kEditorCaption));
  auto* layout = new QVBoxLayout(&waiting);
  auto* label = new QLabel(FromAnsi(vle::kNoticeEsc));
  layout->addWidget(label);
  waiting.setObjectName("DisappearWaiting");
  waiting.exec();  // Escape rejects it
  if (!closing_) {
    showNormal();
    raise();
    activateWindow();
  }
}

void TEditVorlectWindow::DoCsvFormat() { ExecCsvSetup(this); }

void TEditVorlectWindow::MakeSpelling() {
  if (spelling_) return;
  spelling_ = std::make_unique<vle::TEditorSpelling>();
  spellerWindow_ = new TSpellerWindow(this);
  spellSetup_ = std::make_unique<TSpellSetupWindow>(this);
  spelling_->SpellChecker3.DialogView = spellerWindow_;
  spelling_->SetupView = spellSetup_.get();
  spelling_->OnBusy = [](bool busy) {
    if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
  };
}

void TEditVorlectWindow::DoSpellCheck() {
  MakeSpelling();
  Run(tr("Spell check"), [this] { spelling_->SpellChecker1Click(editor_); });
}

void TEditVorlectWindow::DoSpellSetup() {
  MakeSpelling();
  spelling_->SpellChecker2Click();
}

void TEditVorlectWindow::DoHelp() {
  if (!OpenHelp(vle::kHelpKeyword))
    ports::MessageDlg("The help page could not be opened:\rno help page (help/VLCore.html) is installed beside the program.",
                      ports::mtError, {ports::mbOK});
}

void TEditVorlectWindow::DoAbout() {
  ports::MessageDlg(std::string(vle::kEditorCaption) + "\rVorlect " VORLECT_VERSION " for Linux", ports::mtInformation,
                    {ports::mbOK});
}

}  // namespace vorlect::ui
