#pragma once

#include <QGroupBox>
#include <QMargins>
#include <QString>

// A group box whose contents area keeps fixed margins inside its edges,
// whatever room the style would give its frame and title, so that the
// controls inside it get the sizes of the window's layout. The caption is
// shown as given; its accessible name is the caption without the blanks
// around it.
class PanelBox : public QGroupBox {
  Q_OBJECT

 public:
  // Room for the caption at the top and a thin frame on the other sides.
  static constexpr QMargins kCaptionedMargins{2, 16, 2, 2};

  PanelBox(const QString& caption, QMargins margins, QWidget* parent = nullptr);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QMargins margins_;
};
