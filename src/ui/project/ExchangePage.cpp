#include "ui/project/ExchangePage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QVBoxLayout>

#include <set>

#include "host/ports/Ports.h"
#include "ui/TextEditor.h"
#include "vle/project/VLEMain.h"

namespace vorlect::ui {

namespace {

struct TFilter {
  QString title, mask;
};

std::vector<TFilter> ExchangeFilters() {
  const QStringList parts = QString::fromLatin1(TExchangePage::kFilter).split('|');
  std::vector<TFilter> out;
  for (int i = 0; i + 1 < parts.size(); i += 2) out.push_back({parts[i], parts[i + 1]});
  return out;
}

// File systems that hold no user files: they are no "drive" to offer.
bool PseudoFileSystem(const QByteArray& type) {
  static const std::set<QByteArray> kPseudo = {"proc",       "sysfs",    "devpts",     "cgroup",    "cgroup2",
                                               "securityfs", "pstore",   "debugfs",    "tracefs",   "mqueue",
                                               "hugetlbfs",  "configfs", "fusectl",    "bpf",       "autofs",
                                               "binfmt_misc", "devtmpfs", "efivarfs",  "nsfs",      "rpc_pipefs"};
  return kPseudo.count(type) > 0;
}

QString Indent(int depth) { return QString(depth * 2, QLatin1Char(' ')); }

}  // namespace

TExchangePage::TExchangePage(QWidget* parent) : QWidget(parent) {
  nameEdit_ = new QLineEdit(QStringLiteral("*.csv"), this);
  nameEdit_->setObjectName("FileEdit");
  files_ = new QListWidget(this);
  files_->setObjectName("FileListBox");
  files_->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* edit = new QAction(tr("&Edit"), files_);
  edit->setObjectName("Edit1");
  files_->addAction(edit);
  filters_ = new QComboBox(this);
  filters_->setObjectName("FilterComboBox");
  for (const TFilter& f : ExchangeFilters()) filters_->addItem(f.title, f.mask);
  folderLabel_ = new QLabel(this);
  folderLabel_->setObjectName("DirLabel");
  folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  folders_ = new QListWidget(this);
  folders_->setObjectName("DirectoryListBox");
  drives_ = new QComboBox(this);
  drives_->setObjectName("DriveComboBox");
  forms_ = new QListWidget(this);
  forms_->setObjectName("FormsListBox");
  utf8_ = new QCheckBox(tr("&UTF-8 (real characters)"), this);
  utf8_->setObjectName("Utf8CheckBox");
  utf8_->setToolTip(tr("Export: write the texts as real characters in UTF-8, each language in its code page.\n"
                       "Import reads a file that starts with a UTF-8 byte-order mark as UTF-8 anyway."));
  containsBtn_ = new QPushButton(QStringLiteral("&Contains:"), this);
  containsBtn_->setObjectName("BtnContains");
  containsBtn_->setToolTip(tr("Open the selected file in your text editor"));
  importBtn_ = new QPushButton(QStringLiteral("&Import"), this);
  importBtn_->setObjectName("BtnImport");
  exportBtn_ = new QPushButton(QStringLiteral("&Export"), this);
  exportBtn_->setObjectName("BtnExport");
  backBtn_ = new QPushButton(QStringLiteral("<< &Back"), this);
  backBtn_->setObjectName("BtnBack");
  helpBtn_ = new QPushButton(QStringLiteral("&Help"), this);
  helpBtn_->setObjectName("BtnHelp2");

  auto* nameLabel = new QLabel(tr("File &name:"), this);
  nameLabel->setBuddy(nameEdit_);
  auto* typeLabel = new QLabel(tr("List files of &type:"), this);
  typeLabel->setBuddy(filters_);
  auto* folderTitle = new QLabel(tr("&Folders:"), this);
  folderTitle->setBuddy(folders_);
  auto* driveLabel = new QLabel(tr("Dri&ves:"), this);
  driveLabel->setBuddy(drives_);

  auto* grid = new QGridLayout;
  grid->addWidget(nameLabel, 0, 0);
  grid->addWidget(nameEdit_, 1, 0);
  grid->addWidget(files_, 2, 0);
  grid->addWidget(typeLabel, 3, 0);
  grid->addWidget(filters_, 4, 0);
  grid->addWidget(folderTitle, 0, 1);
  grid->addWidget(folderLabel_, 1, 1);
  grid->addWidget(folders_, 2, 1);
  grid->addWidget(driveLabel, 3, 1);
  grid->addWidget(drives_, 4, 1);
  grid->addWidget(containsBtn_, 1, 2);
  grid->addWidget(forms_, 2, 2);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 3);
  grid->setColumnStretch(2, 2);
  grid->setRowStretch(2, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(importBtn_);
  buttons->addWidget(exportBtn_);
  buttons->addWidget(utf8_);
  buttons->addStretch(1);
  buttons->addWidget(backBtn_);
  buttons->addWidget(helpBtn_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid, 1);
  layout->addLayout(buttons);

  connect(nameEdit_, &QLineEdit::textChanged, this, &TExchangePage::NameChanged);
  connect(nameEdit_, &QLineEdit::returnPressed, this, &TExchangePage::NameEntered);
  connect(files_, &QListWidget::currentRowChanged, this, [this] { FileSelected(); });
  connect(files_, &QListWidget::itemActivated, this, [this] { EditSelectedFile(); });
  connect(edit, &QAction::triggered, this, &TExchangePage::EditSelectedFile);
  connect(containsBtn_, &QPushButton::clicked, this, &TExchangePage::EditSelectedFile);
  connect(folders_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { SetFolder(item->data(Qt::UserRole).toString()); });
  connect(drives_, &QComboBox::activated, this, [this](int index) { SetFolder(drives_->itemData(index).toString()); });
  connect(filters_, &QComboBox::activated, this, &TExchangePage::ChooseFilter);
  connect(importBtn_, &QPushButton::clicked, this, &TExchangePage::ImportRequested);
  connect(exportBtn_, &QPushButton::clicked, this, &TExchangePage::ExportRequested);
  connect(backBtn_, &QPushButton::clicked, this, &TExchangePage::BackRequested);
  connect(helpBtn_, &QPushButton::clicked, this, &TExchangePage::HelpRequested);

  mask_ = filters_->itemData(0).toString();
  FillDrives();
  SetFolder(QDir::currentPath());
  NameChanged(nameEdit_->text());
}

bool TExchangePage::SetFolder(const QString& folder) {
  QFileInfo info(folder);
  if (!info.isDir()) return false;
  folder_ = QDir::cleanPath(info.absoluteFilePath());
  folderLabel_->setText(QDir::toNativeSeparators(folder_));
  FillFolders();
  files_->clear();
  const QString root = QStorageInfo(folder_).rootPath();
  const int drive = drives_->findData(root);
  if (drive >= 0) drives_->setCurrentIndex(drive);
  RefreshFiles();
  return true;
}

void TExchangePage::FillFolders() {
  // The path from the root down to the folder, then the folder's own subfolders one step further in.
  folders_->clear();
  QStringList chain;
  for (QDir d(folder_);; ) {
    chain.prepend(d.absolutePath());
    if (!d.cdUp()) break;
  }
  int depth = 0;
  for (const QString& path : chain) {
    const QString name = path == QLatin1String("/") ? path : QFileInfo(path).fileName();
    auto* item = new QListWidgetItem(Indent(depth++) + name, folders_);
    item->setData(Qt::UserRole, path);
    if (path == folder_) folders_->setCurrentItem(item);
  }
  const QStringList subfolders = QDir(folder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& sub : subfolders) {
    auto* item = new QListWidgetItem(Indent(depth) + sub, folders_);
    item->setData(Qt::UserRole, QDir(folder_).filePath(sub));
  }
}

void TExchangePage::FillDrives() {
  drives_->clear();
  QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
  std::sort(volumes.begin(), volumes.end(),
            [](const QStorageInfo& a, const QStorageInfo& b) { return a.rootPath() < b.rootPath(); });
  for (const QStorageInfo& v : volumes) {
    if (!v.isValid() || !v.isReady() || PseudoFileSystem(v.fileSystemType())) continue;
    QString label = v.rootPath();
    if (!v.displayName().isEmpty() && v.displayName() != v.rootPath()) label += "  [" + v.displayName() + "]";
    drives_->addItem(label, v.rootPath());
  }
}

void TExchangePage::SetMask(const QString& mask) {
  mask_ = mask;
  RefreshFiles(false);
}

void TExchangePage::ChooseFilter(int index) {
  if (index < 0 || index >= filters_->count()) return;
  filters_->setCurrentIndex(index);
  nameEdit_->setText(filters_->itemData(index).toString());  // the change handler takes it as the mask
}

int TExchangePage::FilterIndex() const { return filters_->currentIndex(); }

QString TExchangePage::FilterExtension() const {
  const QString mask = filters_->currentData().toString();
  const int dot = mask.lastIndexOf('.');
  return dot < 0 ? QString() : mask.mid(dot);
}

void TExchangePage::RefreshFiles(bool keepSelection) {
  const QString selected = keepSelection && files_->currentItem() ? files_->currentItem()->text() : QString();
  QStringList masks;
  for (const QString& m : mask_.split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts))
    masks << (m.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : m.trimmed());
  const QStringList names = QDir(folder_).entryList(masks, QDir::Files, QDir::Name | QDir::IgnoreCase);
  files_->blockSignals(true);
  files_->clear();
  files_->addItems(names);
  files_->blockSignals(false);
  if (!selected.isEmpty()) {
    const auto found = files_->findItems(selected, Qt::MatchExactly);
    if (!found.isEmpty()) {
      files_->blockSignals(true);
      files_->setCurrentItem(found.front());
      files_->blockSignals(false);
    }
  }
  FileSelected();
}

bool TExchangePage::SelectFile(const QString& name) {
  const auto found = files_->findItems(name, Qt::MatchExactly);
  if (found.isEmpty()) return false;
  if (files_->currentItem() == found.front() && found.front()->isSelected()) FileSelected();
  else files_->setCurrentItem(found.front());  // its handler runs
  return true;
}

QString TExchangePage::SelectedFile() const {
  const QListWidgetItem* item = files_->currentItem();
  return item && item->isSelected() ? QDir(folder_).filePath(item->text()) : QString();
}

QString TExchangePage::TargetFile() {
  QString name = nameEdit_->text();
  if (QFileInfo(name.trimmed()).suffix().isEmpty() && vle::IsValidExchangeFileName(name.toStdString())) {
    name += FilterExtension();
    nameEdit_->setText(name);
  }
  return QDir::isAbsolutePath(name) ? name : QDir(folder_).filePath(name);
}

void TExchangePage::NameChanged(const QString& text) {
  if (text.contains('?') || text.contains('*')) {
    // A mask is no file name: the file list takes it.
    if (!fillingName_) SetMask(text);
    exportBtn_->setEnabled(false);
    return;
  }
  exportBtn_->setEnabled(vle::IsValidExchangeFileName(text.toStdString()));
}

void TExchangePage::NameEntered() {
  // A folder typed into the name field is entered, as the file list's folder; the name field is then
  // emptied for the file's name.
  const QString text = nameEdit_->text().trimmed();
  if (text.isEmpty()) return;
  const QString path = QDir::isAbsolutePath(text) ? text : QDir(folder_).filePath(text);
  if (QFileInfo(path).isDir() && SetFolder(path)) {
    nameEdit_->clear();
    return;
  }
  NameChanged(nameEdit_->text());
}

void TExchangePage::FileSelected() {
  const QString file = SelectedFile();
  const bool any = !file.isEmpty();
  containsBtn_->setEnabled(any);
  importBtn_->setEnabled(any);
  forms_->clear();
  if (!any) {
    exportBtn_->setEnabled(vle::IsValidExchangeFileName(nameEdit_->text().toStdString()));
    return;
  }
  exportBtn_->setEnabled(true);
  fillingName_ = true;
  nameEdit_->setText(files_->currentItem()->text());
  fillingName_ = false;
  QFile in(file);
  QByteArray contents;
  if (in.open(QIODevice::ReadOnly)) contents = in.readAll();
  const auto forms = vle::ListExchangeFileForms(QFile::encodeName(file).toStdString(),
                                                std::string_view(contents.constData(), contents.size()));
  if (!forms) {
    ports::MessageDlg("The forms of " + QFileInfo(file).fileName().toStdString() +
                          " cannot be listed:\rthis file format cannot be listed yet.",
                      ports::mtInformation, {ports::mbOK});
    return;
  }
  for (const std::string& f : *forms) forms_->addItem(QFile::decodeName(f.c_str()));
}

void TExchangePage::EditSelectedFile() {
  files_->setFocus();
  const QString file = SelectedFile();
  if (file.isEmpty()) return;
  std::string error;
  if (!OpenInTextEditor(QFile::encodeName(file).toStdString(), &error))
    ports::MessageDlg(error, ports::mtError, {ports::mbOK});
}

}  // namespace vorlect::ui
