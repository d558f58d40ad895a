// The project manager's exchange page: a file name field bound to a folder list, a drive list (the
// mount points), a filter list and a file list; the forms held in the selected file; and the
// buttons of the exchange. The page knows files and folders; what its buttons do with them is the
// window's.
#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vorlect::ui {

class TExchangePage : public QWidget {
  Q_OBJECT
public:
  // The filter list's two filters, in the framework's notation.
  static constexpr const char* kFilter = "Comma separated (*.csv)|*.csv|Resource Files (*.rc)|*.rc";

  explicit TExchangePage(QWidget* parent = nullptr);

  // The folder the file list shows (absolute); a folder that does not exist is refused.
  bool SetFolder(const QString& folder);
  const QString& Folder() const { return folder_; }
  // The file list's mask ("*.csv", "*.rc;*.csv"); the file list is read again.
  void SetMask(const QString& mask);
  const QString& Mask() const { return mask_; }
  // Chooses filter `index` (0 CSV, 1 RC): the file list takes its mask and the name field shows it.
  void ChooseFilter(int index);
  int FilterIndex() const;
  // ".csv" or ".rc", the extension of the filter chosen.
  QString FilterExtension() const;
  // Reads the folder again (after an export wrote files); the file selected stays selected when
  // `keepSelection` and it is still there.
  void RefreshFiles(bool keepSelection = true);
  // Selects a file of the list by name; false when it is not listed.
  bool SelectFile(const QString& name);
  // The file selected in the list, with its folder; empty without one.
  QString SelectedFile() const;
  // The name field's file with the folder shown ("Strings.csv" -> "/folder/Strings.csv"; an
  // absolute name stays). When the name has no extension, the chosen filter's is appended to the
  // name field first.
  QString TargetFile();

  // Opens the selected file in the user's text editor ("&Contains:" and the file list's "&Edit").
  void EditSelectedFile();

  QLineEdit* NameEdit() const { return nameEdit_; }
  QLabel* FolderLabel() const { return folderLabel_; }
  QListWidget* Folders() const { return folders_; }
  QComboBox* Drives() const { return drives_; }
  QComboBox* Filters() const { return filters_; }
  QListWidget* Files() const { return files_; }
  QListWidget* Forms() const { return forms_; }
  QCheckBox* Utf8Box() const { return utf8_; }
  QPushButton* ContainsBtn() const { return containsBtn_; }
  QPushButton* ImportBtn() const { return importBtn_; }
  QPushButton* ExportBtn() const { return exportBtn_; }
  QPushButton* BackBtn() const { return backBtn_; }
  QPushButton* HelpBtn() const { return helpBtn_; }

signals:
  void ExportRequested();
  void ImportRequested();
  void BackRequested();
  void HelpRequested();

private:
  void NameChanged(const QString& text);
  void NameEntered();
  void FileSelected();
  void FillFolders();
  void FillDrives();

  QString folder_, mask_;
  QLineEdit* nameEdit_;
  QLabel* folderLabel_;
  QListWidget *folders_, *files_, *forms_;
  QComboBox *drives_, *filters_;
  QCheckBox* utf8_;
  QPushButton *containsBtn_, *importBtn_, *exportBtn_, *backBtn_, *helpBtn_;
  bool fillingName_ = false;
};

}  // namespace vorlect::ui
