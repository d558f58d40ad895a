#include "ui/ide/ComponentPalette.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "host/framework/DesignIntf.h"

namespace vorlect::ui {

TComponentPalette::TComponentPalette(QWidget* parent) : QTabWidget(parent) {
  setObjectName("ComponentPalette");
  setDocumentMode(true);
  Rebuild();
}

void TComponentPalette::Rebuild() {
  while (count() > 0) {
    QWidget* page = widget(0);
    removeTab(0);
    delete page;
  }
  for (const host::TDesignRegistry::PalettePage& p : host::DesignRegistry().Pages()) {
    auto* page = new QWidget(this);
    page->setObjectName(QString::fromStdString(p.name));
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(2, 2, 2, 2);
    for (const host::ClassInfo* cls : p.classes) {
      auto* button = new QToolButton(page);
      const QString name = QString::fromStdString(cls->Name());
      button->setObjectName(name);
      button->setText(name);
      button->setToolTip(name);
      button->setAutoRaise(true);
      connect(button, &QToolButton::clicked, this, [this, cls] { emit ComponentChosen(cls); });
      row->addWidget(button);
    }
    row->addStretch(1);
    addTab(page, QString::fromStdString(p.name));
  }
}

QToolButton* TComponentPalette::Button(const QString& className) const {
  return findChild<QToolButton*>(className);
}

}  // namespace vorlect::ui
