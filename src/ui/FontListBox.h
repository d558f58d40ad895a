// TFontListBox: a sorted list of the installed fonts, each item 16 pixels high with the outline
// glyph before the names of scalable fonts. Scalable outline fonts stand for TrueType here.
#pragma once

#include <QImage>
#include <QListWidget>

namespace vorlect::ui {

class TFontListBox : public QListWidget {
  Q_OBJECT
  Q_PROPERTY(bool TTonly READ TTonly WRITE SetTTonly)
  Q_PROPERTY(bool UseItemFont READ UseItemFont WRITE SetUseItemFont)

public:
  static constexpr int kItemHeight = 16;
  static constexpr int kTextIndent = 16;
  static constexpr int kGlyphSize = 12;

  // Filled with the installed fonts; the first entry is selected.
  explicit TFontListBox(QWidget* parent = nullptr);

  // Only outline fonts; setting it fills the list again.
  bool TTonly() const { return ttOnly_; }
  void SetTTonly(bool value);
  // Each item drawn in its own font; setting it fills the list again.
  bool UseItemFont() const { return useItemFont_; }
  void SetUseItemFont(bool value);

  static bool IsTrueType(const QString& family);
  // Two letters T, grey at (0, 0) and black at (4, 3), on the item's background.
  static QImage TrueTypeGlyph(const QColor& background);

private:
  void Fill();

  bool ttOnly_ = false;
  bool useItemFont_ = false;
};

}  // namespace vorlect::ui
