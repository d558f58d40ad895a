// The flagged string grid on the screen: what it paints, where its cells are, how it scrolls and
// sizes, without an editor behind it.
#include <QApplication>
#include <QtTest>

#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "ui/QtPorts.h"
#include "ui/editor/VLStGridWidget.h"

using namespace vorlect;
using namespace vorlect::ui;

namespace {

// A grid of keys and two language columns as the editor lays it out.
struct GridSetup {
  GridSetup(int rows = 6) : grid(nullptr) {
    grid.SetColCount(3);
    grid.SetRowCount(rows);
    grid.SetFixedCols(0);
    grid.SetFixedRows(2);
    grid.Options = {host::goFixedVertLine, host::goFixedHorzLine, host::goVertLine, host::goHorzLine, host::goEditing,
                    host::goColSizing, host::goColMoving, host::goTabs};
    grid.SetCells(0, 0, "index");
    grid.SetCells(1, 0, "language 0");
    grid.SetCells(2, 0, "language 1");
    grid.SetCells(0, 1, "Font/Charset");
    grid.SetCells(1, 1, "Arial, ANSI_CHARSET");
    grid.SetCells(2, 1, "Arial, RUSSIAN_CHARSET");
    grid.SetCharsetCode(1, 0);
    grid.SetCharsetCode(2, 204);
    for (int k = 0; k < 3; ++k) grid.SetColWidths(k, 120);
    grid.DefaultRowHeight = 18;
    grid.GridFont.name = "DejaVu Sans";
    grid.GridFont.size = 9;
    hidden.Add("Label1");
    grid.HideThese = &hidden;
  }
  ~GridSetup() { grid.HideThese = nullptr; }
  QtPorts ports;
  ports::ScopedPorts scope{ports};
  host::TStringList hidden;
  grid::TVLStrGrid grid;
};

int CountColour(const QImage& image, const QRect& area, bool (*match)(QColor)) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (match(image.pixelColor(x, y))) ++n;
  return n;
}

}  // namespace

class GridWidgetTest : public QObject {
  Q_OBJECT
private slots:
  void flagsMarkTranslatedAndHiddenBlocks();
  void eachLanguageColumnDecodesItsCodePage();
  void rowHeightsFollowTheLinesOfTheTallestCell();
  void cellsAndPointsAgreeWhileScrolling();
  void draggingABorderSizesTheColumn();
  void filteredRowsAreSkippedByTheKeys();
};

void GridWidgetTest::flagsMarkTranslatedAndHiddenBlocks() {
  GridSetup s;
  s.grid.SetCells(0, 2, "Button1");
  s.grid.SetCells(0, 3, "\".Hint");
  s.grid.SetCells(0, 4, "Label1");
  s.grid.SetCells(0, 5, "@ErrNoFile");
  s.grid.CalcAllRowHeights();
  TVLStrGridWidget w(s.grid);
  w.resize(420, 300);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  const QImage shot = w.viewport()->grab().toImage();
  auto flagArea = [&](int row) {
    const QRect r = w.CellRect(0, row);
    return QRect(r.left() + 4, r.top(), grid::TVLStrGrid::kFlagWidth, r.height()).intersected(shot.rect());
  };
  auto green = [](QColor c) { return c.green() > 120 && c.red() < 80 && c.blue() < 80; };
  auto red = [](QColor c) { return c.red() > 180 && c.green() < 60 && c.blue() < 60; };
  QVERIFY(CountColour(shot, flagArea(2), green) > 5);   // translated
  QCOMPARE(CountColour(shot, flagArea(2), red), 0);
  QVERIFY(CountColour(shot, flagArea(4), red) > 5);     // hidden
  QCOMPARE(CountColour(shot, flagArea(3), green) + CountColour(shot, flagArea(3), red), 0);  // continuation
  QCOMPARE(CountColour(shot, flagArea(5), green) + CountColour(shot, flagArea(5), red), 0);  // string entry
}

void GridWidgetTest::eachLanguageColumnDecodesItsCodePage() {
  GridSetup s;
  s.grid.SetCells(1, 2, "Caf\xE9");
  s.grid.SetCells(2, 2, "\xCA\xE0\xF4\xE5");
  TVLStrGridWidget w(s.grid);
  QCOMPARE(w.DisplayText(1, 2), QString::fromUtf8("Café"));
  QCOMPARE(w.DisplayText(2, 2), QString::fromUtf8("Кафе"));
  bool lossy = false;
  QCOMPARE(w.StoredText(2, QString::fromUtf8("Да\nнет"), &lossy), std::string("\xC4\xE0\r\n\xED\xE5\xF2"));
  QVERIFY(!lossy);
  w.StoredText(1, QString::fromUtf8("Да"), &lossy);
  QVERIFY(lossy);
  s.grid.SetCharsetCode(2, 161);  // Greek
  s.grid.SetCells(2, 3, "\xC1\xE8\xDE\xED\xE1");
  QCOMPARE(w.DisplayText(2, 3), QString::fromUtf8("Αθήνα"));
}

void GridWidgetTest::rowHeightsFollowTheLinesOfTheTallestCell() {
  GridSetup s;
  s.grid.SetCells(1, 2, "one");
  s.grid.SetCells(2, 2, "one\r\ntwo\r\nthree");
  s.grid.CalcAllRowHeights();
  const int one = s.ports.MeasureText("x", s.grid.GridFont).height;
  QCOMPARE(s.grid.RowHeights(2), 3 * one + 4);
  TVLStrGridWidget w(s.grid);
  w.resize(420, 300);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  // Replacing the tall text in place lowers the row to its tallest remaining language cell.
  s.grid.SetCurrent(2, 2);
  w.StartEditing(QStringLiteral("short"));
  QTest::keyClick(w.InplaceEditor(), Qt::Key_Return);
  QCOMPARE(s.grid.Cells(2, 2), std::string("short"));
  QCOMPARE(s.grid.RowHeights(2), one + 4);
  QCOMPARE(w.CellRect(2, 2).height(), one + 4);
}

void GridWidgetTest::cellsAndPointsAgreeWhileScrolling() {
  GridSetup s(2002);
  for (int r = 2; r < 2002; ++r) s.grid.SetCells(0, r, "Key" + std::to_string(r));
  s.grid.CalcAllRowHeights();
  TVLStrGridWidget w(s.grid);
  w.resize(300, 240);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  for (int row : {0, 1, 2, 5}) {
    const QRect r = w.CellRect(1, row);
    QVERIFY(!r.isEmpty());
    QCOMPARE(w.CellAt(r.center().x(), r.center().y()), std::make_pair(1, row));
  }
  w.ScrollToCell(2, 1500);
  QVERIFY(w.TopRow() > 1400);
  const QRect r = w.CellRect(2, 1500);
  QVERIFY(!r.isEmpty());
  QVERIFY(r.bottom() < w.viewport()->height());
  QCOMPARE(w.CellAt(r.center().x(), r.center().y()), std::make_pair(2, 1500));
  // The fixed rows stay at the top whatever is scrolled.
  QCOMPARE(w.CellAt(5, 3).second, 0);
  QVERIFY(w.CellRect(1, 5).isEmpty());
  s.grid.SetCurrent(1, 1500);
  QTest::keyClick(&w, Qt::Key_End, Qt::ControlModifier);
  QCOMPARE(s.grid.Row(), 2001);
  QVERIFY(!w.CellRect(1, 2001).isEmpty());
}

void GridWidgetTest::draggingABorderSizesTheColumn() {
  GridSetup s;
  TVLStrGridWidget w(s.grid);
  w.resize(420, 300);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  const QRect title = w.CellRect(0, 0);
  const QPoint border(title.right() + 1, title.center().y());
  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, border);
  QTest::mouseMove(w.viewport(), border + QPoint(40, 0));
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, border + QPoint(40, 0));
  QVERIFY(std::abs(s.grid.ColWidths(0) - 160) <= 2);
  QCOMPARE(s.grid.ColWidths(1), 120);
}

void GridWidgetTest::filteredRowsAreSkippedByTheKeys() {
  GridSetup s(10);
  TVLStrGridWidget w(s.grid);
  w.resize(420, 300);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  s.grid.SetCurrent(1, 3);
  w.SetRowFilter({3, 6, 8});
  QCOMPARE(w.VisibleDataRows(), 3);
  QTest::keyClick(&w, Qt::Key_Down);
  QCOMPARE(s.grid.Row(), 6);
  QTest::keyClick(&w, Qt::Key_Down);
  QCOMPARE(s.grid.Row(), 8);
  QTest::keyClick(&w, Qt::Key_Down);
  QCOMPARE(s.grid.Row(), 8);
  QVERIFY(w.CellRect(1, 7).isEmpty());
  w.ClearRowFilter();
  QVERIFY(!w.CellRect(1, 7).isEmpty());
}

QTEST_MAIN(GridWidgetTest)
#include "test_grid_widget.moc"
