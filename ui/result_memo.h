#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <string>
#include <vector>

// A memo whose text the user reads, edits and copies into a forum post. It
// wraps long lines at its width, has no scroll bars, takes Enter as a new line
// and leaves Tab to move the focus.
//
// Line ends: the memo shows lines; its text, and whatever the user copies from
// it, has CR LF between them. Lines put in by ShowLines each end with CR LF,
// the last one included, so the memo then shows an empty last line where the
// caret can stand, and Text() gives back exactly the bytes put in. Every line
// break inside a line (CR LF, a lone CR or LF) shows as a break and reads back
// as CR LF.
class ResultMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ResultMemo(QWidget* parent = nullptr);

  // Replaces the whole text with lines of Windows-1251 text.
  void ShowLines(const std::vector<std::string>& lines);

  // The memo's whole text with CR LF line ends, as a copy of all of it gives.
  QString Text() const;

 protected:
  QMimeData* createMimeDataFromSelection() const override;
};
