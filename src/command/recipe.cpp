#include "command/recipe.h"

#include "ops/registry.h"
#include "settings/textfile.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace plintex::command {
namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

/// The escape after a backslash in $'...' at `i` (the character after the backslash): what it
/// stands for, `i` moved past it.
QString ansiEscape(QStringView line, qsizetype &i)
{
    const QChar c = line[i++];
    switch (c.unicode()) {
    case 'a':
        return u"\a"_s;
    case 'b':
        return u"\b"_s;
    case 'e':
    case 'E':
        return u"\x1b"_s;
    case 'f':
        return u"\f"_s;
    case 'n':
        return u"\n"_s;
    case 'r':
        return u"\r"_s;
    case 't':
        return u"\t"_s;
    case 'v':
        return u"\v"_s;
    case '\\':
    case '\'':
    case '"':
    case '?':
        return QString(c);
    case 'x':
    case 'u':
    case 'U': {
        const int most = c == u'x' ? 2 : c == u'u' ? 4 : 8;
        char32_t value = 0;
        int digits = 0;
        while (digits < most && i < line.size() && hexValue(line[i]) >= 0) {
            value = value * 16 + char32_t(hexValue(line[i++]));
            ++digits;
        }
        if (digits == 0)
            return u"\\"_s + c;
        // \xHH is a byte; below 0x80 it is that character, above it the Windows-1252 one
        // would be a guess: take it as the code point, as for \u.
        return value > 0x10FFFF ? QString() : QString::fromUcs4(&value, 1);
    }
    default:
        if (c >= u'0' && c <= u'7') {
            char32_t value = char32_t(c.unicode() - '0');
            for (int n = 1; n < 3 && i < line.size() && line[i] >= u'0' && line[i] <= u'7'; ++n)
                value = value * 8 + char32_t(line[i++].unicode() - '0');
            return QString::fromUcs4(&value, 1);
        }
        return u"\\"_s + c;
    }
}

} // namespace

std::optional<QStringList> shellWords(QStringView line, QString *why)
{
    QStringList words;
    QString word;
    bool inWord = false;
    const auto unclosed = [&](QChar quote) {
        *why = u"the quote "_s + quote + u" is not closed on this line"_s;
        return std::nullopt;
    };
    for (qsizetype i = 0; i < line.size();) {
        const QChar c = line[i];
        if (c == u' ' || c == u'\t') {
            if (inWord)
                words.append(std::exchange(word, QString()));
            inWord = false;
            ++i;
            continue;
        }
        if (c == u'#' && !inWord)
            break;
        inWord = true;
        if (c == u'\'') {
            const qsizetype end = line.indexOf(u'\'', i + 1);
            if (end < 0)
                return unclosed(c);
            word += line.sliced(i + 1, end - i - 1);
            i = end + 1;
        } else if (c == u'$' && i + 1 < line.size() && line[i + 1] == u'\'') {
            for (i += 2;;) {
                if (i >= line.size())
                    return unclosed(u'\'');
                if (line[i] == u'\'') {
                    ++i;
                    break;
                }
                if (line[i] == u'\\' && i + 1 < line.size()) {
                    ++i;
                    word += ansiEscape(line, i);
                } else {
                    word += line[i++];
                }
            }
        } else if (c == u'"') {
            for (++i;;) {
                if (i >= line.size())
                    return unclosed(c);
                const QChar d = line[i];
                if (d == u'"') {
                    ++i;
                    break;
                }
                if (d == u'$' || d == u'`') {
                    *why = u"a recipe expands nothing: quote "_s + d + u" with '...'"_s;
                    return std::nullopt;
                }
                if (d == u'\\' && i + 1 < line.size() &&
                    QStringView(u"$`\"\\").contains(line[i + 1])) {
                    word += line[i + 1];
                    i += 2;
                } else {
                    word += d;
                    ++i;
                }
            }
        } else if (c == u'\\') {
            if (i + 1 >= line.size()) {
                *why = u"a line may not end in a backslash: one step a line"_s;
                return std::nullopt;
            }
            word += line[i + 1];
            i += 2;
        } else if (QStringView(u"$`|&;<>()").contains(c)) {
            *why = u"a recipe step is one command, without "_s + c + u" (quote it with '...')"_s;
            return std::nullopt;
        } else {
            word += c;
            ++i;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

std::variant<QList<RecipeStep>, RecipeError> readRecipe(const QString &path)
{
    const auto fileError = [&](const QString &why) {
        return RecipeError{true, u"cannot read "_s + path + u": "_s + why};
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fileError(u"no such file"_s);
    if (info.isDir())
        return fileError(u"it is a folder"_s);
    // A FIFO would wait for a writer, and a device need never end.
    if (!info.isFile())
        return fileError(u"it is not a regular file"_s);
    if (info.size() > kMaxOptionFileSize)
        return fileError(u"larger than 16 MiB"_s);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fileError(file.errorString());
    const QByteArray bytes = file.read(kMaxOptionFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fileError(file.errorString());
    if (bytes.size() > kMaxOptionFileSize)
        return fileError(u"larger than 16 MiB"_s);

    const OptionSource source{true, info.absolutePath()};
    const QStringList rows = decodeRows(bytes, detectFormat(bytes));
    QList<RecipeStep> steps;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString where = path + u':' + QString::number(i + 1) + u": ";
        QString why;
        std::optional<QStringList> words = shellWords(rows[i], &why);
        if (!words)
            return RecipeError{false, where + why};
        if (!words->isEmpty() && words->front() == u"plintex-cli"_s)
            words->removeFirst();
        if (words->isEmpty())
            continue;
        const FunctionEntry *function = catalogue().byName(words->front());
        if (!function || !function->isBuilt())
            return RecipeError{false, where + u"unknown function \"" + words->front() +
                                          u"\" (see plintex-cli --list)"};
        if (!function->body.readsText)
            return RecipeError{false, where + u'"' + function->name +
                                          u"\" streams one file into another: it is no "
                                          u"recipe step"_s};
        auto read = readOptions(*function, words->mid(1), source);
        if (auto *error = std::get_if<OptionError>(&read))
            return RecipeError{error->kind == OptionError::Kind::File, where + error->reason};
        steps.append({int(i + 1), std::move(std::get<Invocation>(read))});
    }
    return steps;
}

QString recipeText(const QStringList &stepLines)
{
    return u"# Plintex recipe: one step a line, run in turn by\n"
           u"#   plintex-cli --recipe=THIS-FILE [FILE]\n"_s +
           stepLines.join(u'\n') + u'\n';
}

} // namespace plintex::command
