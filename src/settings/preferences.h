#pragma once

#include <QString>

#include <optional>

namespace plintex {

/// The three preference strings of prefs.plx: the flag string (character 1 "1" when hints are
/// shown, character 2 the background colour index, further characters kept as they are), the
/// font size and the tab spacing.
class Preferences {
public:
    static constexpr int kDefaultFontSize = 8;
    static constexpr int kDefaultTabSpacing = 5;

    /// Reads prefs.plx. What a line cannot give (a short flag string, a colour other than 0-3,
    /// a size that is not a whole number) is taken from the defaults, the rest kept. Nothing
    /// when the file cannot be read or is refused, with the reason in `error`.
    static std::optional<Preferences> load(const QString &path, QString *error = nullptr);
    /// Writes the three lines, replacing the file only once they are completely written.
    bool save(const QString &path) const;

    QString flags() const { return m_flags; }
    QString fontSizeText() const { return m_fontSize; }
    QString tabSpacingText() const { return m_tabSpacing; }
    void setFontSizeText(const QString &text) { m_fontSize = text; }
    void setTabSpacingText(const QString &text) { m_tabSpacing = text; }

    bool hintsShown() const;
    void setHintsShown(bool shown);
    int colourIndex() const;
    void setColourIndex(int index);

    /// The font size as a number, or `fallback` when the text is not a usable size.
    int fontSize(int fallback) const;
    int tabSpacing() const;

private:
    void setFlag(int position, QChar value);

    QString m_flags = QStringLiteral("10");
    QString m_fontSize = QString::number(kDefaultFontSize);
    QString m_tabSpacing = QString::number(kDefaultTabSpacing);
};

/// A whole number written with one or two digits, as the preferences dialog takes them.
std::optional<int> preferenceNumber(const QString &text);

} // namespace plintex
