#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tolvaro::testing {

// Roster file texts for differential tests: token soups, hand-written
// records with missing, doubled and misplaced tags, and saved-looking files
// that are then cut, shuffled and spliced. Deterministic for a seed.
class RosterTextGenerator {
 public:
  explicit RosterTextGenerator(std::uint32_t seed) : random_(seed) {}

  std::string Next() {
    switch (Below(3)) {
      case 0: return TokenSoup();
      case 1: return LooseRecords();
      default: return Mutated(LooseRecords(true));
    }
  }

  // Any of the tokens, in any order.
  std::string TokenSoup() {
    std::string text;
    const std::size_t count = Below(40);
    for (std::size_t i = 0; i < count; ++i) text += AnyToken();
    return text;
  }

  // Records of pairs; unless wellFormed, with tags left out, doubled or put
  // in the wrong place, and text between and around them.
  std::string LooseRecords(bool wellFormed = false) {
    std::string text = wellFormed || Chance(2) ? "" : Pick(kPieces);
    const std::size_t records = Below(5);
    for (std::size_t r = 0; r < records; ++r) {
      text += Tag("<R>", wellFormed);
      const std::size_t pairs = Below(8);
      for (std::size_t p = 0; p < pairs; ++p) {
        std::string name = Tag("<F>", wellFormed) + Pick(kNames) + Tag("</F>", wellFormed);
        std::string value = Tag("<V>", wellFormed) + Value() + Tag("</V>", wellFormed);
        text += !wellFormed && Chance(8) ? value + name : name + value;
        if (!wellFormed && Chance(10)) text += AnyToken();
      }
      text += Tag("</R>", wellFormed);
      if (!wellFormed && Chance(4)) text += AnyToken();
      if (Chance(3)) text += "\r\n";
    }
    return text;
  }

  // text after one to four edits: a tag removed, a stretch doubled, a token
  // put in, the text cut into pieces and shuffled, a byte turned into a line
  // break or a zero byte.
  std::string Mutated(std::string text) {
    const std::size_t edits = 1 + Below(4);
    for (std::size_t e = 0; e < edits && !text.empty(); ++e) {
      switch (Below(5)) {
        case 0: {
          const std::size_t at = text.find('<', Below(text.size()));
          if (at != std::string::npos) text.erase(at, 3 + (text.compare(at, 2, "</") == 0 ? 1 : 0));
          break;
        }
        case 1: {
          const std::size_t from = Below(text.size());
          const std::string stretch = text.substr(from, 1 + Below(40));
          text.insert(Below(text.size() + 1), stretch);
          break;
        }
        case 2:
          text.insert(Below(text.size() + 1), AnyToken());
          break;
        case 3: {
          std::vector<std::size_t> cuts = {0, text.size()};
          for (std::size_t c = Below(4); c > 0; --c) cuts.push_back(Below(text.size()));
          std::sort(cuts.begin(), cuts.end());
          std::vector<std::string> pieces;
          for (std::size_t c = 0; c + 1 < cuts.size(); ++c) pieces.push_back(text.substr(cuts[c], cuts[c + 1] - cuts[c]));
          std::shuffle(pieces.begin(), pieces.end(), random_);
          text.clear();
          for (const std::string& piece : pieces) text += piece;
          break;
        }
        default:
          text[Below(text.size())] = "\r\n\0"[Below(3)];
          break;
      }
    }
    return text;
  }

 private:
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
  bool Chance(std::size_t oneIn) { return Below(oneIn) == 0; }
  template <std::size_t N>
  std::string Pick(const std::string (&list)[N]) { return list[Below(N)]; }

  std::string Tag(const std::string& tag, bool wellFormed) {
    if (wellFormed) return tag;
    switch (Below(12)) {
      case 0: return "";
      case 1: return tag + tag;
      case 2: return Pick(kTags);
      default: return tag;
    }
  }

  std::string Value() {
    if (Chance(12)) return std::string(40 + Below(1100), "xy\n"[Below(3)]);
    if (Chance(3)) return Pick(kIntegers);
    return Pick(kTexts) + (Chance(3) ? Pick(kPieces) + Pick(kTexts) : "");
  }

  std::string AnyToken() {
    switch (Below(4)) {
      case 0: return Pick(kTags);
      case 1: return Pick(kNames);
      case 2: return Value();
      default: return Pick(kPieces);
    }
  }

  static inline const std::string kTags[] = {"<R>", "</R>", "<F>", "</F>", "<V>", "</V>"};
  static inline const std::string kNames[] = {"RecId", "recid", "Login", "LOGIN", "Name", "name", "S", "s",
                                              "L", "K", "M", "R", "B", "E", "RE", "rE", "C", "D", "d",
                                              "Age", "", " S", "Nam", "S\r\n", "<F>S"};
  static inline const std::string kIntegers[] = {"",      "1",           "42",          " 42",        "+7",
                                                 "$2A",   "0x2A",        "-$10",        "-2147483648", "2147483647",
                                                 "2147483648", "abc",    "42 ",         "4 2",        "$",
                                                 "5\r\n", "0",           "-1",          "$FFFFFFFF",  "x1f"};
  static inline const std::string kTexts[] = {"",     "Hero",  "<Hero>", "a<F>b", "\xC3\xE5\xF0\xEE\xE9",
                                              "a\rb", "a\nb",  "a\r\nb", " ",     "</",
                                              "<",    ">",     "</V",    "</R",   "R>"};
  static inline const std::string kPieces[] = {"<",  ">",  "</", "R>", "/R>", "<R", "\r", "\n", "\r\n",
                                               std::string(1, '\0'), " ", "x", "<<", "<V", "V>", "\xEF\xBB\xBF"};

  std::mt19937 random_;
};

}  // namespace tolvaro::testing
