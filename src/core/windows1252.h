#pragma once

#include <QByteArray>
#include <QString>

namespace plintex::windows1252 {

/// The character that a Windows-1252 byte denotes. The five bytes the code page leaves
/// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so every
/// byte has a character and decoding then encoding gives back the same bytes.
char16_t toUnicode(unsigned char byte);

/// The byte for a character, or -1 when the code page has none.
int fromUnicode(char16_t c);

QString decode(QByteArrayView bytes);

/// True when every character of the text has a Windows-1252 byte.
bool canEncode(QStringView text);

} // namespace plintex::windows1252
