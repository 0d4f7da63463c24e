#include <charconv>
#include <optional>
#include <vector>

#include "roster/error.h"
#include "roster/pers_record.h"
#include "rosterfile/file_access.h"
#include "roster/held_notifications.h"
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
  const std::size_t zero = value.find('\0');
  const std::string_view before = value.substr(0, zero);
  for (std::size_t at = before.find('<'); at != std::string_view::npos; at = before.find('<', at + 1)) {
    const std::string_view rest = before.substr(at);
    if (rest.starts_with(kValueClose)) return kValueClose;
    if (rest.starts_with(kRecordClose)) return kRecordClose;
  }
  if (zero != std::string_view::npos) return kZeroByte;
  return std::nullopt;
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

// The committed records of a table after the save's walk, in table order,
// and the refusal of the first value that would not read back.
struct RosterWalk {
  std::vector<const PersRecord*> records;
  std::optional<std::string> refusal;
};

// Walks the table from its first record to its end, as a save does: a
// pending change is committed or dropped by the first move, and the last
// record stays current with the end flag set. The records stay where they
// are until the table changes again.
RosterWalk WalkRoster(PersTable& table) {
  RosterWalk walk;
  HeldNotifications held(table);
  table.First();
  const int nameField = table.FieldIndex(PersFieldName(kName));
  const bool namesCharacters = nameField >= 0 && table.Def(nameField).kind == FieldKind::Text;
  walk.records.reserve(table.RecordCount());
  while (!table.Eof()) {
    const PersRecord& record = *table.CurrentRecord();
    walk.records.push_back(&record);
    for (int field = 0; field < table.FieldCount() && !walk.refusal; ++field) {
      const FieldValue& value = record[static_cast<std::size_t>(field)];
      if (value.isNull || table.Def(field).kind != FieldKind::Text) continue;
      if (const auto part = UnreadablePart(value.text)) {
        const std::string_view character =
            namesCharacters ? std::string_view(record[static_cast<std::size_t>(nameField)].text) : "";
        walk.refusal = UnsaveableValueMessage(character, walk.records.size(), table.Def(field).name, *part);
      }
    }
    table.Next();
  }
  return walk;
}

// Formats record texts into a buffer of modest size and hands it to a sink
// whenever it fills, so a large roster needs no buffer of its own size.
class RosterTextFormatter {
 public:
  explicit RosterTextFormatter(const PersTable& table) {
    for (int field = 0; field < table.FieldCount(); ++field) {
      std::string piece(field == 0 ? kRecordOpen : kValueClose);
      piece += kNameOpen;
      piece += table.Def(field).name;
      piece += kNameClose;
      piece += kValueOpen;
      pieces_.push_back(std::move(piece));
      integer_.push_back(table.Def(field).kind == FieldKind::Integer);
    }
  }

  template <typename Sink>
  void Format(const std::vector<const PersRecord*>& records, Sink&& sink) {
    constexpr std::size_t kFlushAt = std::size_t{1} << 18;
    std::string buffer;
    buffer.reserve(kFlushAt + 4096);
    for (const PersRecord* record : records) {
      for (std::size_t field = 0; field < pieces_.size(); ++field) {
        buffer += pieces_[field];
        const FieldValue& value = (*record)[field];
        if (value.isNull) continue;
        if (integer_[field]) {
          AppendInteger(buffer, value.number);
        } else {
          AppendWithCrLf(buffer, value.text);
        }
      }
      buffer += kValueClose;
      buffer += kRecordClose;
      if (buffer.size() >= kFlushAt) {
        sink(std::string_view(buffer));
        buffer.clear();
      }
    }
    buffer += kLineBreak;
    sink(std::string_view(buffer));
  }

 private:
  std::vector<std::string> pieces_;  // what stands before each field's value
  std::vector<bool> integer_;
};

}  // namespace

std::string SaveRosterText(PersTable& table) {
  if (!table.IsOpen() || table.RecordCount() == 0) return {};
  const RosterWalk walk = WalkRoster(table);
  if (walk.refusal) throw Error(*walk.refusal);
  std::string text;
  RosterTextFormatter(table).Format(walk.records, [&text](std::string_view bytes) { text += bytes; });
  return text;
}

void SaveRoster(PersTable& table, const std::string& fileName) {
  if (!table.IsOpen() || table.RecordCount() == 0) return;
  const RosterWalk walk = WalkRoster(table);
  if (walk.refusal) throw Error(*walk.refusal);
  // The text goes straight into the new file; the old one is only replaced
  // once all of it is on the disk.
  rosterfile::FileReplacement file(fileName);
  RosterTextFormatter(table).Format(walk.records, [&file](std::string_view bytes) { file.Write(bytes); });
  file.Commit();
}

}  // namespace tolvaro
