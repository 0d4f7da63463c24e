#include <charconv>
#include <optional>

#include "roster/error.h"
#include "roster/pers_record.h"
#include "rosterfile/file_access.h"
#include "rosterfile/held_notifications.h"
#include "rosterfile/line_breaks.h"
#include "rosterfile/roster_file.h"
#include "rosterfile/roster_tags.h"

namespace tolvaro {
namespace {

using namespace rosterfile;

// What in a text value would make it read back otherwise than it was
// written: the first "</V>" would end the value early, the first "</R>" the
// record, and a zero byte the whole text of the file. Any other text,
// every other tag included, reads back unchanged (line breaks as CR LF), since
// the reader looks for each tag from the start of the pair, record or rest
// of the file that the writer has just begun. Gives nothing for such a value,
// else the first offending part.
constexpr std::string_view kZeroByte("\0", 1);

std::optional<std::string_view> UnreadablePart(std::string_view value) {
  std::size_t first = std::string_view::npos;
  std::string_view part;
  for (std::string_view tag : {kValueClose, kRecordClose}) {
    const std::size_t at = value.find(tag);
    if (at < first) {
      first = at;
      part = tag;
    }
  }
  if (value.find(kZeroByte) < first) return kZeroByte;
  if (first == std::string_view::npos) return std::nullopt;
  return part;
}

std::string UnsaveableValueMessage(std::string_view character, std::size_t row, std::string_view field,
                                   std::string_view part) {
  std::string message;
  if (!character.empty()) {
    message = "\xCF\xE5\xF0\xF1\xEE\xED\xE0\xE6 \"";  // Персонаж "
    message += character;
    message += '"';
  } else {
    message = "\xCF\xE5\xF0\xF1\xEE\xED\xE0\xE6 \xE2 \xF1\xF2\xF0\xEE\xEA\xE5 ";  // Персонаж в строке
    message += std::to_string(row);
  }
  message += ": \xEF\xEE\xEB\xE5 ";  // : поле
  message += field;
  if (part == kZeroByte) {
    message += " \xF1\xEE\xE4\xE5\xF0\xE6\xE8\xF2 \xF1\xE8\xEC\xE2\xEE\xEB \xF1 \xEA\xEE\xE4\xEE\xEC 0";  // содержит символ с кодом 0
  } else {
    message += " \xF1\xEE\xE4\xE5\xF0\xE6\xE8\xF2 \"";  // содержит "
    message += part;
    message += '"';
  }
  // , такой текст нельзя сохранить в файл. Файл не записан.
  message +=
      ", \xF2\xE0\xEA\xEE\xE9 \xF2\xE5\xEA\xF1\xF2 \xED\xE5\xEB\xFC\xE7\xFF \xF1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC "
      "\xE2 \xF4\xE0\xE9\xEB. \xD4\xE0\xE9\xEB \xED\xE5 \xE7\xE0\xEF\xE8\xF1\xE0\xED.";
  return message;
}

void AppendInteger(std::string& text, std::int32_t value) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  text.append(digits, end);
}

}  // namespace

std::string SaveRosterText(PersTable& table) {
  if (!table.IsOpen() || table.RecordCount() == 0) return {};
  HeldNotifications held(table);
  table.First();

  const int fieldCount = table.FieldCount();
  const int nameField = table.FieldIndex(PersFieldName(kName));
  const bool namesCharacters = nameField >= 0 && table.Def(nameField).kind == FieldKind::Text;
  std::optional<std::string> refusal;
  std::string text;
  std::size_t row = 0;
  while (!table.Eof()) {
    ++row;
    const PersRecord& record = *table.CurrentRecord();
    text += kRecordOpen;
    for (int field = 0; field < fieldCount; ++field) {
      const FieldDef& def = table.Def(field);
      const FieldValue& value = record[static_cast<std::size_t>(field)];
      text += kNameOpen;
      text += def.name;
      text += kNameClose;
      text += kValueOpen;
      if (!value.isNull && def.kind == FieldKind::Integer) {
        AppendInteger(text, value.number);
      } else if (!value.isNull) {
        if (!refusal) {
          if (const auto part = UnreadablePart(value.text)) {
            const std::string_view character =
                namesCharacters ? std::string_view(record[static_cast<std::size_t>(nameField)].text) : "";
            refusal = UnsaveableValueMessage(character, row, def.name, *part);
          }
        }
        AppendWithCrLf(text, value.text);
      }
      text += kValueClose;
    }
    text += kRecordClose;
    if (row == 1) text.reserve(text.size() * table.RecordCount() + text.size() / 4 * table.RecordCount());
    table.Next();
  }
  text += kLineBreak;
  if (refusal) throw Error(*refusal);
  return text;
}

void SaveRoster(PersTable& table, const std::string& fileName) {
  const std::string text = SaveRosterText(table);
  if (text.empty()) return;
  ReplaceFileContent(fileName, text);
}

}  // namespace tolvaro
