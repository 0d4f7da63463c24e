#include "rosterfile/roster_text_parser.h"

#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "roster/error.h"
#include "roster/field_name.h"
#include "roster/integer_text.h"
#include "rosterfile/line_breaks.h"
#include "rosterfile/roster_tags.h"

namespace tolvaro::rosterfile {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

enum TagKind { kRecordOpenTag, kRecordCloseTag, kNameOpenTag, kNameCloseTag, kValueOpenTag, kValueCloseTag, kNoTag };

// Tells the tags apart by the letter after "<" or "</"; the tag texts are
// pinned here so that this cannot drift from the shared definitions.
static_assert(kRecordOpen == "<R>" && kNameOpen == "<F>" && kValueOpen == "<V>");
static_assert(kRecordClose == "</R>" && kNameClose == "</F>" && kValueClose == "</V>");

TagKind TagAt(const char* p, const char* end) {
  if (end - p >= 3 && p[2] == '>') {
    switch (p[1]) {
      case 'F': return kNameOpenTag;
      case 'V': return kValueOpenTag;
      case 'R': return kRecordOpenTag;
      default: return kNoTag;
    }
  }
  if (end - p >= 4 && p[1] == '/' && p[3] == '>') {
    switch (p[2]) {
      case 'F': return kNameCloseTag;
      case 'V': return kValueCloseTag;
      case 'R': return kRecordCloseTag;
      default: return kNoTag;
    }
  }
  return kNoTag;
}

// Integer text: plain decimal digits, the form the writer gives, are read at
// once; any other text goes through the full grammar.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string_view digits = text.substr(negative ? 1 : 0);
  if (digits.empty() || digits.size() > 9) return ParseIntegerText(text);
  std::int32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return ParseIntegerText(text);
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

// The positions of the name and value tags within one record's text. The
// pair loop asks for the first tag of a kind at or after a position that
// never decreases, so each answer costs O(1) amortised.
class PairTags {
 public:
  void Clear() {
    for (Positions& positions : kinds_) {
      positions.at.clear();
      positions.next = 0;
    }
  }
  void Add(TagKind kind, std::size_t at) { kinds_[kind - kNameOpenTag].at.push_back(at); }

  // REQUIRES: from is at least the from of the previous call for this kind
  // since Clear.
  std::size_t First(TagKind kind, std::size_t from) {
    Positions& positions = kinds_[kind - kNameOpenTag];
    while (positions.next < positions.at.size() && positions.at[positions.next] < from) ++positions.next;
    return positions.next < positions.at.size() ? positions.at[positions.next] : kNone;
  }

 private:
  struct Positions {
    std::vector<std::size_t> at;
    std::size_t next = 0;
  };
  std::array<Positions, 4> kinds_;
};

// Finds the records of a text one after the other. Each '<' of the text is
// looked at once: from where the last record ended, the first "<R>" and the
// first "</R>" are sought together, and the name and value tags that stand
// between them are noted on the way for the pair loop.
class RecordFinder {
 public:
  explicit RecordFinder(std::string_view text) : text_(text) {}

  // The next record's text, with its tags in tags; nothing when the first
  // "<R>" or "</R>" of the rest is missing or "</R>" comes first.
  std::optional<std::string_view> Next(PairTags& tags) {
    tags.Clear();
    std::size_t open = kNone;
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    for (const char* p = begin + rest_; p < end; ++p) {
      p = static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
      if (p == nullptr) break;
      const std::size_t at = static_cast<std::size_t>(p - begin);
      const TagKind kind = TagAt(p, end);
      if (kind == kNoTag) continue;
      if (kind == kRecordCloseTag) {
        rest_ = at + kRecordClose.size();
        if (open == kNone) return std::nullopt;
        const std::size_t body = open + kRecordOpen.size();
        return text_.substr(body, at - body);
      }
      if (open == kNone) {
        if (kind == kRecordOpenTag) open = at;
      } else if (kind != kRecordOpenTag) {
        tags.Add(kind, at - open - kRecordOpen.size());
      }
    }
    rest_ = text_.size();
    return std::nullopt;
  }

 private:
  std::string_view text_;
  std::size_t rest_ = 0;
};

class RecordReader {
 public:
  explicit RecordReader(const PersTable& table) : table_(table) {}

  PersRecord Read(std::string_view record, PairTags& tags) {
    PersRecord values(static_cast<std::size_t>(table_.FieldCount()));
    std::size_t from = 0;
    for (;;) {
      const std::size_t nameOpen = tags.First(kNameOpenTag, from);
      const std::size_t nameClose = tags.First(kNameCloseTag, from);
      const std::size_t valueOpen = tags.First(kValueOpenTag, from);
      const std::size_t valueClose = tags.First(kValueCloseTag, from);
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
    const int field = FieldOf(HasLineBreak(name) ? Normalised(name) : name);
    if (field < 0) return;
    const FieldDef& def = table_.Def(field);
    FieldValue& target = values[static_cast<std::size_t>(field)];
    if (def.kind == FieldKind::Integer) {
      if (value.empty()) {
        target = FieldValue{};
        return;
      }
      const auto number = HasLineBreak(value) ? std::nullopt : ParseInteger(value);
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

  // The field of that name; a file written by the writer names the fields
  // in order, so the one after the last is tried first.
  int FieldOf(std::string_view name) {
    const int guess = lastField_ + 1;
    if (guess < table_.FieldCount() && SameFieldName(table_.Def(guess).name, name)) return lastField_ = guess;
    const int field = table_.FieldIndex(name);
    if (field >= 0) lastField_ = field;
    return field;
  }

  std::string_view Normalised(std::string_view text) {
    scratch_.clear();
    AppendWithCrLf(scratch_, text);
    return scratch_;
  }

  const PersTable& table_;
  int lastField_ = -1;
  std::string scratch_;
};

}  // namespace

std::vector<PersRecord> ParseRosterText(const PersTable& table, std::string_view fileBytes) {
  RecordFinder finder(fileBytes.substr(0, fileBytes.find('\0')));
  RecordReader reader(table);
  PairTags tags;
  std::vector<PersRecord> records;
  while (const auto record = finder.Next(tags)) records.push_back(reader.Read(*record, tags));
  return records;
}

}  // namespace tolvaro::rosterfile
