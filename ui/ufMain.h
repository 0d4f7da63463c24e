#pragma once

#include <QMainWindow>

// The main window fMain.
class TfMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfMain(QWidget* parent = nullptr);
};
