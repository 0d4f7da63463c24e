#pragma once

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

// The one place where text crosses between the core's Windows-1251 bytes and
// the widgets' Unicode.

// Every byte gives one character.
QString FromCp1251(std::string_view bytes);

// One byte per character; a character the code page lacks becomes "?".
std::string ToCp1251(QStringView text);
