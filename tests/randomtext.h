#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace plintex::testing {

/// A random text as a file may hold it: UTF-8 (U+FEFF often inside lines, sometimes a mark at
/// the start), Windows-1252 bytes, or UTF-16 LE or BE after its mark; each line ends at random
/// in LF, CR LF or CR, the last one only when `finalBreak` is set. At least `minLines` lines.
inline QByteArray randomText(QRandomGenerator &rng, bool finalBreak, int minLines = 0)
{
    static const char32_t kUtf8Pool[] = {U'a',      U'Z',      U' ',      U'\t',     U'\0',
                                         U'\uFEFF', U'\u00E9', U'\u20AC', U'\u4E2D', U'\U0001F600'};
    const int kind = rng.bounded(4); // UTF-8, Windows-1252, UTF-16 LE, UTF-16 BE
    const bool utf16 = kind >= 2;
    const auto unit = [&](char16_t u, QByteArray &out) {
        const char lo = char(u & 0xFF);
        const char hi = char(u >> 8);
        out.append(kind == 2 ? lo : hi).append(kind == 2 ? hi : lo);
    };
    QByteArray out;
    if (kind == 0 && rng.bounded(3) == 0)
        out += "\xEF\xBB\xBF";
    if (utf16)
        unit(0xFEFF, out);
    const int lines = minLines + rng.bounded(8);
    for (int i = 0; i < lines; ++i) {
        const int length = rng.bounded(12);
        for (int k = 0; k < length; ++k) {
            if (kind == 0) {
                const char32_t c = kUtf8Pool[rng.bounded(int(std::size(kUtf8Pool)))];
                out += QString::fromUcs4(&c, 1).toUtf8();
            } else if (kind == 1) {
                char b;
                do
                    b = char(rng.bounded(256));
                while (b == '\n' || b == '\r');
                out += b;
            } else {
                char16_t u;
                do // any unit, unpaired surrogates too
                    u = char16_t(rng.bounded(0x10000));
                while (u == u'\n' || u == u'\r');
                unit(u, out);
            }
        }
        if (i == lines - 1 && !finalBreak)
            break;
        switch (rng.bounded(3)) {
        case 0:
            utf16 ? unit(u'\n', out) : void(out += '\n');
            break;
        case 1:
            utf16 ? (unit(u'\r', out), unit(u'\n', out)) : void(out += "\r\n");
            break;
        default:
            utf16 ? unit(u'\r', out) : void(out += '\r');
        }
    }
    return out;
}

/// Random words made of given pieces (characters, surrogate halves, short strings), drawn from a
/// seeded generator so that a failing case comes out the same when run again.
class RandomPieces {
public:
    RandomPieces(QStringList pieces, quint32 seed) : m_pieces(std::move(pieces)), m_rng(seed) {}

    int below(int n) { return int(m_rng.bounded(n)); }

    /// `count` pieces picked at random, joined.
    QString pieces(int count)
    {
        QString w;
        for (; count > 0; --count)
            w += m_pieces[below(int(m_pieces.size()))];
        return w;
    }

private:
    QStringList m_pieces;
    QRandomGenerator m_rng;
};

} // namespace plintex::testing
