// The component palette: one page per palette page the packages registered, one button per class.
#pragma once

#include <QTabWidget>

namespace vorlect::host {
class ClassInfo;
}

class QToolButton;

namespace vorlect::ui {

class TComponentPalette : public QTabWidget {
  Q_OBJECT
public:
  explicit TComponentPalette(QWidget* parent = nullptr);
  // Builds the pages from the design registry again (after a package registered).
  void Rebuild();
  // The button of a class (its object name is the class name), or null.
  QToolButton* Button(const QString& className) const;

signals:
  // The user chose a class to drop on the form.
  void ComponentChosen(const vorlect::host::ClassInfo* cls);
};

}  // namespace vorlect::ui
