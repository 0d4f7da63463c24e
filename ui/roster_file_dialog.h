#pragma once

#include <QFileDialog>
#include <QString>
#include <optional>

// The open and save dialogs of roster files (odMain, sdMain): one filter shown
// as "*.sav", the default extension .sav, the platform's own title. The open
// dialog takes only existing files; the save dialog replaces a file without
// asking. Each offers again the file name last chosen in it during the run.
class RosterFileDialog : public QFileDialog {
  Q_OBJECT

 public:
  RosterFileDialog(QFileDialog::AcceptMode mode, QWidget* parent = nullptr);

  // Shows the dialog starting in folder; the chosen file, or none when the
  // user cancels.
  std::optional<QString> Ask(const QString& folder);

  const QString& LastChosen() const { return lastChosen_; }

 private:
  QString lastChosen_;
};

// The folder that holds the executable, without a trailing separator.
QString ExecutableFolder();
