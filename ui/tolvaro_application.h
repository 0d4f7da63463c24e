#pragma once

#include <QApplication>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

class QMessageBox;
class QWidget;

// The application's title: the executable's file name without its folder and
// without everything from its first full stop on, every letter after the
// first in lower case ("/opt/TOLVARO.bin" gives "Tolvaro").
QString ApplicationTitle(const QString& executablePath);

// What the failure box says for an error message of Windows-1251 bytes: the
// message with a full stop appended when its last character's code is above
// that of ".".
QString FailureText(std::string_view message);

// The failure box, not yet shown: error icon, FailureText, the application's
// title as caption, one OK button. The caller owns it.
QMessageBox* NewFailureBox(std::string_view message, QWidget* parent = nullptr);

// The application object. Every failure that ends an event handler surfaces
// here: the handler stops where it failed, and once the outermost event
// delivery has returned the failure box is shown and the loop goes on. No
// handler catches errors of its own.
class TolvaroApplication : public QApplication {
  Q_OBJECT

 public:
  TolvaroApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows the failure box modally.
  static void ShowFailure(std::string_view message);

 private:
  int deliveryDepth_ = 0;
  std::vector<std::string> failures_;
};
