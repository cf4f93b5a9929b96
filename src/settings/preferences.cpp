#include "settings/preferences.h"

#include "settings/listfile.h"

namespace plintex {

std::optional<int> preferenceNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return text.toInt();
}

std::optional<Preferences> Preferences::load(const QString &path, QString *error)
{
    const std::optional<QStringList> lines = readListFile(path, error);
    if (!lines)
        return std::nullopt;
    Preferences p;
    if (lines->size() > 0)
        p.m_flags = lines->at(0);
    // A flag string too short for its two flags is completed with the defaults.
    if (p.m_flags.isEmpty())
        p.m_flags = QStringLiteral("1");
    if (p.m_flags.size() < 2)
        p.m_flags += u'0';
    if (p.colourIndex() != p.m_flags.at(1).digitValue())
        p.setFlag(1, u'0');
    if (lines->size() > 1 && preferenceNumber(lines->at(1)).value_or(0) > 0)
        p.m_fontSize = lines->at(1);
    if (lines->size() > 2 && preferenceNumber(lines->at(2)))
        p.m_tabSpacing = lines->at(2);
    return p;
}

bool Preferences::save(const QString &path) const
{
    return writeListFile(path, {m_flags, m_fontSize, m_tabSpacing});
}

bool Preferences::hintsShown() const
{
    return m_flags.startsWith(u'1');
}

void Preferences::setHintsShown(bool shown)
{
    setFlag(0, shown ? u'1' : u'0');
}

int Preferences::colourIndex() const
{
    const int index = m_flags.size() > 1 ? m_flags.at(1).digitValue() : 0;
    return index >= 0 && index <= 3 ? index : 0;
}

void Preferences::setColourIndex(int index)
{
    setFlag(1, QChar(u'0' + (index % 4)));
}

int Preferences::fontSize(int fallback) const
{
    const int size = preferenceNumber(m_fontSize).value_or(0);
    return size > 0 ? size : fallback;
}

int Preferences::tabSpacing() const
{
    return preferenceNumber(m_tabSpacing).value_or(kDefaultTabSpacing);
}

void Preferences::setFlag(int position, QChar value)
{
    while (m_flags.size() <= position)
        m_flags += u'0';
    m_flags[position] = value;
}

} // namespace plintex
