#include "ui/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr const char* kCodePage = "windows-1251";
// What Qt's converter puts where the code page lacks a character.
constexpr char kConverterSubstitute = '\x1A';

}  // namespace

QString FromCp1251(std::string_view bytes) {
  // A single-byte code page carries no state between calls, so one decoder
  // serves every call on the user-interface thread.
  static QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToCp1251(QStringView text) {
  static QStringEncoder encoder(kCodePage, QStringConverter::Flag::Stateless);
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  // Encoded one character at a time so that the converter's substitute can be
  // told apart from a real SUB character.
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype length = (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
    const QStringView character = text.mid(i, length);
    const QByteArray encoded = encoder.encode(character);
    const bool lacking = encoded.size() != 1 || (encoded[0] == kConverterSubstitute && character != u"\x1A");
    out.push_back(lacking ? '?' : encoded[0]);
    i += length;
  }
  return out;
}
