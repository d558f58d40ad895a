#include "DemoWindow.h"

#include "host/framework/Graphics.h"
#include "runtime/VLCore.h"
#include "ui/QtText.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QVBoxLayout>

namespace vorlect::demo {

namespace {

constexpr const char* kMissingOrderFile = "Orders.ord";

host::TControl& AsControl(host::TComponent& form) {
  auto* control = dynamic_cast<host::TControl*>(&form);
  if (!control) throw DemoError(form.Name() + " is not a form with controls");
  return *control;
}

}  // namespace

DemoWindow::DemoWindow(std::vector<LoadedForm>& forms, QWidget* parent)
    : QWidget(parent), forms_(forms), dlls_(std::make_unique<runtime::TLanguageDLLs>(nullptr)) {
  for (LoadedForm& form : forms_) views_.push_back(std::make_unique<ui::formview::FormView>(AsControl(*form.form)));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ui::formview::FormView& main = MainView();
  main.setParent(this);
  layout->addWidget(&main);
  message_ = new QLabel(this);
  message_->setObjectName("vorlectDemoMessage");
  message_->setTextFormat(Qt::PlainText);
  message_->setContentsMargins(6, 3, 6, 3);
  message_->setFont(main.ClientArea()->font());
  layout->addWidget(message_);
  setWindowTitle(main.windowTitle());
  connect(&main, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
  BuildMenus();
  UpdateMessage();
}

DemoWindow::~DemoWindow() = default;

void DemoWindow::BuildMenus() {
  QMenuBar* bar = MainView().MenuBar();
  if (!bar) {
    bar = new QMenuBar(this);
    static_cast<QVBoxLayout*>(layout())->setMenuBar(bar);
  }
  languageMenu_ = bar->addMenu(tr("&Language"));
  RebuildLanguageMenu();
  QMenu* forms = bar->addMenu(tr("F&orms"));
  for (std::size_t i = 1; i < views_.size(); ++i) {
    ui::formview::FormView* view = views_[i].get();
    QAction* show = forms->addAction(QString::fromStdString(forms_[i].form->Name()));
    connect(show, &QAction::triggered, view, [view] {
      view->show();
      view->raise();
    });
  }
  forms->setEnabled(views_.size() > 1);
}

void DemoWindow::RebuildLanguageMenu() {
  languageMenu_->clear();
  runtime::TBaseVorlect* vorlect = TranslationComponent(*forms_.front().form);
  auto* group = new QActionGroup(languageMenu_);
  const int languages = vorlect ? vorlect->Languages() : 0;
  for (int n = 0; n < languages; ++n) {
    QAction* action = languageMenu_->addAction(tr("Language &%1").arg(n));
    action->setCheckable(true);
    action->setChecked(n == vorlect->ActiveLanguage());
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, n] { SwitchLanguage(n); });
  }
  languageMenu_->addSeparator();
  connect(languageMenu_->addAction(tr("&String module...")), &QAction::triggered, this, &DemoWindow::ChooseStringModule);
  connect(languageMenu_->addAction(tr("Show &message")), &QAction::triggered, this, &DemoWindow::ShowMessage);
}

void DemoWindow::SwitchLanguage(int language) {
  runtime::Global_Set_ActiveLanguage(static_cast<std::uint8_t>(language));
  RebuildLanguageMenu();
  UpdateMessage();
}

bool DemoWindow::UseStringModule(const std::string& file, std::string& error) {
  try {
    dlls_->SetDLL(file);
    TakeStringModuleCharset(file);
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  RebuildLanguageMenu();
  UpdateMessage();
  return true;
}

void DemoWindow::TakeStringModuleCharset(const std::string& file) {
  // A string module holds one language, and its texts are in that language's code page: the
  // forms' fonts must say so, or the texts would be read in another one.
  const int charset = StringModuleCharset(file);
  if (charset == host::DEFAULT_CHARSET) return;
  for (LoadedForm& form : forms_)
    if (auto* control = dynamic_cast<host::TControl*>(form.form.get()))
      control->Font()->SetCharset(static_cast<host::TFontCharset>(charset));
  UpdateMessage();
}

void DemoWindow::ChooseStringModule() {
  const QString file = QFileDialog::getOpenFileName(this, tr("String module"), QString(),
                                                    tr("String modules (*.dll);;All files (*)"));
  if (file.isEmpty()) return;
  std::string error;
  if (!UseStringModule(file.toStdString(), error))
    QMessageBox::warning(this, windowTitle(), QString::fromLocal8Bit(error.c_str()));
}

QString DemoWindow::Message() const {
  runtime::TBaseVorlect* vorlect = TranslationComponent(*forms_.front().form);
  if (!vorlect) return {};
  const std::vector<std::string> ids = StringIdentifiers(*vorlect);
  if (ids.empty()) return {};
  const auto& form = static_cast<const host::TControl&>(*MainView().Form());
  // The sample's first numbered string names the order file the application could not find.
  return ui::formview::Shown(form, FormatMessage(vorlect->GetText(ids.front()), kMissingOrderFile));
}

void DemoWindow::UpdateMessage() {
  message_->setText(Message());
  message_->setFont(MainView().ClientArea()->font());
  message_->setVisible(!message_->text().isEmpty());
}

void DemoWindow::ShowMessage() { QMessageBox::information(this, windowTitle(), Message()); }

QStringList DemoWindow::ShownTexts() const {
  QStringList texts = MainView().ShownTexts();
  if (!message_->text().isEmpty()) texts << message_->text();
  return texts;
}

}  // namespace vorlect::demo
