#include "ui/tolvaro_application.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <exception>
#include <memory>
#include <utility>

#include "ui/text_codec.h"
#include "ui/window_font.h"

QString ApplicationTitle(const QString& executablePath) {
  QString name = QFileInfo(executablePath).fileName();
  const qsizetype stop = name.indexOf(u'.');
  if (stop >= 0) name.truncate(stop);
  if (name.size() > 1) name = name.left(1) + name.mid(1).toLower();
  return name;
}

QString FailureText(std::string_view message) {
  QString text = FromCp1251(message);
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
    text += u'.';
  }
  return text;
}

QMessageBox* NewFailureBox(std::string_view message, QWidget* parent) {
  auto* box = new QMessageBox(QMessageBox::Critical, ApplicationTitle(QCoreApplication::applicationFilePath()),
                              FailureText(message), QMessageBox::Ok, parent);
  box->setObjectName("failureBox");
  return box;
}

TolvaroApplication::TolvaroApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // Lets the desktop match the window with its installed entry and icon.
  setDesktopFileName(QStringLiteral("tolvaro"));
  // The tool's windows and dialogs all speak in the window font; set before
  // any widget exists, no other face is ever loaded.
  setFont(WindowFont(primaryScreen()));
  // The platform's own dialog texts (file dialog titles and buttons) in the
  // desktop's language.
  auto* translator = new QTranslator(this);
  if (translator->load(QLocale::system(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    installTranslator(translator);
  }
}

bool TolvaroApplication::notify(QObject* receiver, QEvent* event) {
  bool result = false;
  ++deliveryDepth_;
  try {
    result = QApplication::notify(receiver, event);
  } catch (const std::exception& failure) {
    failures_.emplace_back(failure.what());
  }
  --deliveryDepth_;
  // A failure inside a nested delivery (a focus change inside a click, say)
  // waits until the outermost one is done, so the box never opens in the
  // middle of the toolkit's own bookkeeping.
  if (deliveryDepth_ == 0 && !failures_.empty()) {
    std::vector<std::string> shown = std::exchange(failures_, {});
    for (const std::string& message : shown) ShowFailure(message);
  }
  return result;
}

void TolvaroApplication::ShowFailure(std::string_view message) {
  const std::unique_ptr<QMessageBox> box(NewFailureBox(message, QApplication::activeWindow()));
  box->exec();
}
