#include "ui/project/FConfig.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorlect::ui {

namespace {

QPixmap Mark(bool found) {
  QPixmap pixmap(14, 14);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(found ? QColor(0x1e, 0x9e, 0x3a) : QColor(0xd0, 0x21, 0x21));
  p.drawEllipse(QRectF(1, 1, 12, 12));
  return pixmap;
}

void ShowMark(QLabel* mark, bool found, const QString& field) {
  mark->setPixmap(Mark(found));
  mark->setObjectName(field + (found ? "Found" : "Missing"));
  mark->setToolTip(found ? QObject::tr("The file exists") : QObject::tr("There is no such file"));
}

std::string PathOf(const QString& text) { return QFile::encodeName(text).toStdString(); }

}  // namespace

TFrmConfigToolsWindow::TFrmConfigToolsWindow(vle::TToolPaths& paths, QWidget* parent)
    : QDialog(parent), model_(paths) {
  setObjectName("FrmConfigTools");
  setWindowTitle(QString::fromLatin1(vle::TFrmConfigTools::kCaption));
  edResourceCompiler_ = new QLineEdit(QFile::decodeName(model_.EdResourceCompiler.c_str()), this);
  edResourceCompiler_->setObjectName("EdResourceCompiler");
  edCompiler_ = new QLineEdit(QFile::decodeName(model_.EdCompiler.c_str()), this);
  edCompiler_->setObjectName("EdCompiler");
  resourceMark_ = new QLabel(this);
  compilerMark_ = new QLabel(this);
  auto* resourceLabel = new QLabel(QString::fromLatin1(vle::TFrmConfigTools::kResourceCompilerLabel), this);
  resourceLabel->setBuddy(edResourceCompiler_);
  auto* compilerLabel = new QLabel(QString::fromLatin1(vle::TFrmConfigTools::kCompilerLabel), this);
  compilerLabel->setBuddy(edCompiler_);
  auto* browseResource = new QToolButton(this);
  browseResource->setText(QStringLiteral("..."));
  browseResource->setObjectName("BrowseResourceCompiler");
  auto* browseCompiler = new QToolButton(this);
  browseCompiler->setText(QStringLiteral("..."));
  browseCompiler->setObjectName("BrowseCompiler");

  auto* buttons = new QDialogButtonBox(this);
  okBtn_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  okBtn_->setObjectName("BtnOK");
  cancelBtn_ = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancelBtn_->setObjectName("BtnCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &TFrmConfigToolsWindow::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* grid = new QGridLayout;
  grid->addWidget(resourceLabel, 0, 0, 1, 3);
  grid->addWidget(resourceMark_, 1, 0);
  grid->addWidget(edResourceCompiler_, 1, 1);
  grid->addWidget(browseResource, 1, 2);
  grid->addWidget(compilerLabel, 2, 0, 1, 3);
  grid->addWidget(compilerMark_, 3, 0);
  grid->addWidget(edCompiler_, 3, 1);
  grid->addWidget(browseCompiler, 3, 2);
  grid->setColumnStretch(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch(1);
  layout->addWidget(buttons);
  resize(520, sizeHint().height());

  // The check runs when a field loses the focus (and on Enter), as the dialog's own rule says.
  connect(edResourceCompiler_, &QLineEdit::editingFinished, this, &TFrmConfigToolsWindow::Check);
  connect(edCompiler_, &QLineEdit::editingFinished, this, &TFrmConfigToolsWindow::Check);
  connect(browseResource, &QToolButton::clicked, this,
          [this] { Browse(edResourceCompiler_, QString::fromLatin1(vle::TFrmConfigTools::kResourceCompilerLabel).remove('&')); });
  connect(browseCompiler, &QToolButton::clicked, this,
          [this] { Browse(edCompiler_, QString::fromLatin1(vle::TFrmConfigTools::kCompilerLabel).remove('&')); });
  Check();
}

void TFrmConfigToolsWindow::Check() {
  model_.EdResourceCompiler = PathOf(edResourceCompiler_->text());
  model_.EdCompiler = PathOf(edCompiler_->text());
  model_.FieldExit();
  ShowMark(resourceMark_, model_.ResourceCompilerFound, "ResourceCompiler");
  ShowMark(compilerMark_, model_.CompilerFound, "Compiler");
  okBtn_->setEnabled(model_.OkEnabled);
}

void TFrmConfigToolsWindow::Browse(QLineEdit* field, const QString& title) {
  const QString file = QFileDialog::getOpenFileName(this, title, field->text());
  if (file.isEmpty()) return;
  field->setText(file);
  Check();
}

void TFrmConfigToolsWindow::accept() {
  Check();
  if (!model_.BtnOkClick()) return;
  QDialog::accept();
}

bool ExecToolConfiguration(QWidget* parent) {
  TFrmConfigToolsWindow dialog(vle::ToolPaths(), parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace vorlect::ui
