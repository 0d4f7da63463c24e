#include "rosterfile/roster_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "roster/error.h"

namespace tolvaro {
namespace {

constexpr std::string_view kRecordOpen = "<R>";
constexpr std::string_view kRecordClose = "</R>";
constexpr std::string_view kNameOpen = "<F>";
constexpr std::string_view kNameClose = "</F>";
constexpr std::string_view kValueOpen = "<V>";
constexpr std::string_view kValueClose = "</V>";

// Every line break (CR LF, lone CR, lone LF) becomes CR LF, and the text ends
// with CR LF; a NUL byte ends the text.
std::string NormaliseLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string out;
  out.reserve(text.size() + 2);
  std::size_t lineStart = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      out.append(text.substr(lineStart, i - lineStart));
      out.append("\r\n");
      i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      lineStart = i;
    } else {
      ++i;
    }
  }
  if (lineStart < text.size()) {
    out.append(text.substr(lineStart));
    out.append("\r\n");
  }
  return out;
}

std::string SystemReason() {
  std::string reason = std::strerror(errno);
  while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ' || reason.back() == '\n' ||
                             reason.back() == '\r')) {
    reason.pop_back();
  }
  return reason;
}

std::string FullPath(const std::string& fileName) {
  std::error_code ignored;
  const std::filesystem::path full = std::filesystem::absolute(fileName, ignored);
  return full.empty() ? fileName : full.string();
}

}  // namespace

void SaveRoster(PersTable& table, const std::string& fileName) {
  if (!table.IsOpen() || table.RecordCount() == 0) return;
  table.First();
  std::string text;
  while (!table.Eof()) {
    text.append(kRecordOpen);
    for (int field = 0; field < table.FieldCount(); ++field) {
      TableField f = table.Field(field);
      text.append(kNameOpen).append(f.Name()).append(kNameClose);
      text.append(kValueOpen).append(f.AsString()).append(kValueClose);
    }
    text.append(kRecordClose);
    table.Next();
  }
  const std::string content = NormaliseLines(text);
  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (!file) throw Error("Cannot create file \"" + FullPath(fileName) + "\". " + SystemReason());
  file.write(content.data(), static_cast<std::streamsize>(content.size()));
  file.flush();
  if (!file) throw Error("Stream write error");
}

void LoadRoster(PersTable& table, const std::string& fileName) {
  std::error_code ignored;
  if (!std::filesystem::exists(fileName, ignored) || std::filesystem::is_directory(fileName, ignored)) return;
  table.Close();
  table.Open();
  std::ifstream file(fileName, std::ios::binary);
  if (!file) throw Error("Cannot open file \"" + FullPath(fileName) + "\". " + SystemReason());
  const std::string raw((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string rest = NormaliseLines(raw);

  table.Insert();
  std::size_t a = rest.find(kRecordOpen);
  std::size_t b = rest.find(kRecordClose);
  while (a != std::string::npos && b != std::string::npos && b > a) {
    table.Insert();
    std::string record = rest.substr(a + kRecordOpen.size(), b - a - kRecordOpen.size());
    rest.erase(0, b + kRecordClose.size());
    std::size_t f = record.find(kNameOpen);
    std::size_t g = record.find(kNameClose);
    std::size_t v = record.find(kValueOpen);
    std::size_t w = record.find(kValueClose);
    while (f != std::string::npos && g != std::string::npos && f < g && v != std::string::npos &&
           w != std::string::npos && v < w) {
      const std::string name = record.substr(f + kNameOpen.size(), g - f - kNameOpen.size());
      const std::string value = record.substr(v + kValueOpen.size(), w - v - kValueOpen.size());
      record.erase(0, w + kValueClose.size());
      if (auto field = table.FindField(name)) field->SetAsString(value);
      f = record.find(kNameOpen);
      g = record.find(kNameClose);
      v = record.find(kValueOpen);
      w = record.find(kValueClose);
    }
    a = rest.find(kRecordOpen);
    b = rest.find(kRecordClose);
    table.Post();
  }
}

}  // namespace tolvaro
