#include "ui/roster_file_dialog.h"

#include <QCoreApplication>

namespace {

constexpr const char* kFilter = "*.sav";
constexpr const char* kExtension = "sav";

}  // namespace

RosterFileDialog::RosterFileDialog(QFileDialog::AcceptMode mode, QWidget* parent) : QFileDialog(parent) {
  setAcceptMode(mode);
  setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // Without a bracketed pattern the filter's text is both what is shown and
  // what is matched.
  setNameFilter(QString::fromLatin1(kFilter));
  setDefaultSuffix(QString::fromLatin1(kExtension));
  setOption(QFileDialog::DontConfirmOverwrite, mode == QFileDialog::AcceptSave);
  setOption(QFileDialog::ReadOnly, false);
  setSizeGripEnabled(true);
  setWindowModality(Qt::ApplicationModal);
}

std::optional<QString> RosterFileDialog::Ask(const QString& folder) {
  setDirectory(folder);
  // A full path brings its own folder with it, as the platform dialogs do.
  selectFile(lastChosen_);
  if (exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  lastChosen_ = chosen.first();
  return lastChosen_;
}

QString ExecutableFolder() { return QCoreApplication::applicationDirPath(); }
