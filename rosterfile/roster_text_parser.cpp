#include "rosterfile/roster_text_parser.h"

#include <array>
#include <cstring>
#include <string>

#include "roster/error.h"
#include "roster/integer_text.h"
#include "rosterfile/line_breaks.h"
#include "rosterfile/roster_tags.h"

namespace tolvaro::rosterfile {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// First occurrence of tag in text at or after from.
std::size_t FindTag(std::string_view text, std::string_view tag, std::size_t from) {
  if (from >= text.size()) return kNone;
  const void* found = ::memmem(text.data() + from, text.size() - from, tag.data(), tag.size());
  return found == nullptr ? kNone : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
}

// The positions of the name and value tags within one record's text, found
// in a single pass. The pair loop asks for the first tag of a kind at or
// after a position that never decreases, so each answer costs O(1)
// amortised.
class PairTags {
 public:
  enum Kind { kNameOpenTag, kNameCloseTag, kValueOpenTag, kValueCloseTag, kKindCount };

  void Scan(std::string_view record) {
    for (Positions& positions : kinds_) {
      positions.at.clear();
      positions.next = 0;
    }
    const char* const begin = record.data();
    const char* const end = begin + record.size();
    for (const char* p = begin; p < end; ++p) {
      p = static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
      if (p == nullptr) break;
      const std::size_t at = static_cast<std::size_t>(p - begin);
      const std::string_view rest(p, static_cast<std::size_t>(end - p));
      if (rest.starts_with(kNameOpen)) {
        kinds_[kNameOpenTag].at.push_back(at);
      } else if (rest.starts_with(kNameClose)) {
        kinds_[kNameCloseTag].at.push_back(at);
      } else if (rest.starts_with(kValueOpen)) {
        kinds_[kValueOpenTag].at.push_back(at);
      } else if (rest.starts_with(kValueClose)) {
        kinds_[kValueCloseTag].at.push_back(at);
      }
    }
  }

  // REQUIRES: from is at least the from of the previous call for this kind
  // since Scan.
  std::size_t First(Kind kind, std::size_t from) {
    Positions& positions = kinds_[kind];
    while (positions.next < positions.at.size() && positions.at[positions.next] < from) ++positions.next;
    return positions.next < positions.at.size() ? positions.at[positions.next] : kNone;
  }

 private:
  struct Positions {
    std::vector<std::size_t> at;
    std::size_t next = 0;
  };
  std::array<Positions, kKindCount> kinds_;
};

class RecordReader {
 public:
  explicit RecordReader(const PersTable& table) : table_(table) {}

  PersRecord Read(std::string_view record) {
    PersRecord values(static_cast<std::size_t>(table_.FieldCount()));
    tags_.Scan(record);
    std::size_t from = 0;
    for (;;) {
      const std::size_t nameOpen = tags_.First(PairTags::kNameOpenTag, from);
      const std::size_t nameClose = tags_.First(PairTags::kNameCloseTag, from);
      const std::size_t valueOpen = tags_.First(PairTags::kValueOpenTag, from);
      const std::size_t valueClose = tags_.First(PairTags::kValueCloseTag, from);
      if (nameOpen == kNone || nameClose == kNone || nameOpen > nameClose) break;
      if (valueOpen == kNone || valueClose == kNone || valueOpen > valueClose) break;
      const std::size_t nameStart = nameOpen + kNameOpen.size();
      const std::size_t valueStart = valueOpen + kValueOpen.size();
      Assign(record.substr(nameStart, nameClose - nameStart), record.substr(valueStart, valueClose - valueStart),
             values);
      from = valueClose + kValueClose.size();
    }
    return values;
  }

 private:
  // The value as the table's field would take it as text.
  void Assign(std::string_view name, std::string_view value, PersRecord& values) {
    const int field = table_.FieldIndex(HasLineBreak(name) ? Normalised(name) : name);
    if (field < 0) return;
    const FieldDef& def = table_.Def(field);
    FieldValue& target = values[static_cast<std::size_t>(field)];
    if (def.kind == FieldKind::Integer) {
      if (value.empty()) {
        target = FieldValue{};
        return;
      }
      const auto number = HasLineBreak(value) ? std::nullopt : ParseIntegerText(value);
      if (!number) {
        throw Error(InvalidIntegerMessage(HasLineBreak(value) ? Normalised(value) : value, def.name));
      }
      target = FieldValue{false, *number, {}};
    } else {
      const auto size = static_cast<std::size_t>(def.size);
      target = FieldValue{false, 0, HasLineBreak(value) ? std::string(Normalised(value).substr(0, size))
                                                        : std::string(value.substr(0, size))};
    }
  }

  std::string_view Normalised(std::string_view text) {
    scratch_.clear();
    AppendWithCrLf(scratch_, text);
    return scratch_;
  }

  const PersTable& table_;
  PairTags tags_;
  std::string scratch_;
};

}  // namespace

std::vector<PersRecord> ParseRosterText(const PersTable& table, std::string_view fileBytes) {
  const std::string_view text = fileBytes.substr(0, fileBytes.find('\0'));
  RecordReader reader(table);
  std::vector<PersRecord> records;
  // Each search starts where the record before ended, and the record loop
  // goes on only past the "</R>" it found, so every byte is searched about
  // twice in all, however the tags lie.
  std::size_t open = FindTag(text, kRecordOpen, 0);
  std::size_t close = FindTag(text, kRecordClose, 0);
  while (open != kNone && close != kNone && open < close) {
    const std::size_t bodyStart = open + kRecordOpen.size();
    records.push_back(reader.Read(text.substr(bodyStart, close - bodyStart)));
    const std::size_t rest = close + kRecordClose.size();
    open = FindTag(text, kRecordOpen, rest);
    close = FindTag(text, kRecordClose, rest);
  }
  return records;
}

}  // namespace tolvaro::rosterfile
