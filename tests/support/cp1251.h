#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace tolvaro::testing {

// Test-only: turns a readable UTF-8 literal into the Windows-1251 bytes the
// core works with, so expectations can be written as plain Russian text.
inline std::string Cp1251(std::string_view utf8) {
  iconv_t cd = iconv_open("WINDOWS-1251", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
  std::string in(utf8);
  std::string out(in.size() + 1, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("not Windows-1251 text");
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace tolvaro::testing
