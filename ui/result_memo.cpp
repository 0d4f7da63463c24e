#include "ui/result_memo.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

#include "sheet/memo_text.h"
#include "ui/text_codec.h"

namespace {

constexpr QLatin1String kLineEnd("\r\n");

// The editor keeps a break between lines as a paragraph separator, and one
// typed with Shift+Enter as a line separator: both are a line end.
QString WithCrLf(QString text) {
  text.replace(QChar::ParagraphSeparator, kLineEnd);
  text.replace(QChar::LineSeparator, kLineEnd);
  return text;
}

}  // namespace

ResultMemo::ResultMemo(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTabChangesFocus(true);
}

void ResultMemo::ShowLines(const std::vector<std::string>& lines) {
  setPlainText(FromCp1251(tolvaro::MemoText(lines)));
}

QString ResultMemo::Text() const {
  // Block by block rather than toPlainText(), which would turn a no-break
  // space into a blank.
  QString text;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    if (block != document()->begin()) text += kLineEnd;
    text += block.text();
  }
  return WithCrLf(text);
}

QMimeData* ResultMemo::createMimeDataFromSelection() const {
  auto* data = new QMimeData;
  data->setText(WithCrLf(textCursor().selectedText()));
  return data;
}
