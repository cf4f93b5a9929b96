#include "ops/common/specialcharacters.h"

#include "core/windows1252.h"

using namespace Qt::StringLiterals;

namespace plintex::common {

const QList<SpecialCharacter> &specialCharacters()
{
    static const QList<SpecialCharacter> all = [] {
        QList<SpecialCharacter> list{
            {u"{TAB}"_s, 9},          {u"{LineFeed}"_s, 10}, {u"{CarriageReturn}"_s, 13},
            {u"{VerticalTab}"_s, 11}, {u"{FormFeed}"_s, 12}, {u"{Escape}"_s, 27},
            {u"{EndOfFile}"_s, 26},   {u"{BackSpace}"_s, 8},
        };
        for (int byte = 0; byte < 256; ++byte)
            list.append(
                {u"{Hex "_s + QString::number(byte, 16).toUpper().rightJustified(2, u'0') + u'}',
                 static_cast<unsigned char>(byte)});
        return list;
    }();
    return all;
}

QChar characterOf(const SpecialCharacter &c)
{
    if (c.byte == '\n' || c.byte == '\r')
        return u'\n';
    return QChar(windows1252::toUnicode(c.byte));
}

QStringList specialCharacterNames()
{
    QStringList names;
    for (const SpecialCharacter &c : specialCharacters())
        names.append(c.name);
    return names;
}

std::optional<unsigned char> byteOfText(QStringView text)
{
    for (const SpecialCharacter &c : specialCharacters()) {
        if (text.compare(c.name, Qt::CaseInsensitive) == 0)
            return c.byte;
    }
    if (text.size() == 1) {
        if (const int byte = windows1252::fromUnicode(text.front().unicode()); byte >= 0)
            return static_cast<unsigned char>(byte);
    }
    return std::nullopt;
}

} // namespace plintex::common
