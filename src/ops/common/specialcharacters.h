#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace plintex::common {

/// One entry of the special-character list: its name and the byte value it stands for.
struct SpecialCharacter {
    QString name;
    unsigned char byte;
};

/// The 264 entries of the special-character list, in list order: "{TAB}", "{LineFeed}",
/// "{CarriageReturn}", "{VerticalTab}", "{FormFeed}", "{Escape}", "{EndOfFile}",
/// "{BackSpace}", then "{Hex 00}" to "{Hex FF}". The byte lists and Replace Special share it.
const QList<SpecialCharacter> &specialCharacters();

/// The character an entry stands for in a text: the byte's Windows-1252 character, and a line
/// break for both line-end bytes (a text's rows hold no other kind of break).
QChar characterOf(const SpecialCharacter &c);

/// The entries' names alone, in list order.
QStringList specialCharacterNames();

/// The byte a text typed into a byte list stands for, when that is unambiguous: an entry's name
/// (letter case aside, so "{hex 41}" and "{tab}" too) or a single character, taken as its
/// Windows-1252 byte. Nothing for anything else: a typo is never guessed at.
std::optional<unsigned char> byteOfText(QStringView text);

} // namespace plintex::common
