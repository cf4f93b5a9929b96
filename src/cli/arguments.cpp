#include "cli/arguments.h"

#include "core/windows1252.h"
#include "settings/textfile.h"

#include <QByteArray>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <langinfo.h>
#include <string>

namespace plintex::cli {
namespace {

bool localeIsUtf8()
{
    const char *codeset = nl_langinfo(CODESET);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

} // namespace

QString decodeArgument(QByteArrayView bytes)
{
    if (!localeIsUtf8()) {
        // A terminal in a single- or multi-byte locale (Latin-1, EUC-JP): the C library knows it.
        const QByteArray terminated = bytes.toByteArray();
        const char *src = terminated.constData();
        std::mbstate_t state{};
        std::wstring wide(size_t(bytes.size()) + 1, L'\0');
        const size_t n = std::mbsrtowcs(wide.data(), &src, wide.size(), &state);
        if (n != size_t(-1))
            return QString::fromStdWString(wide.substr(0, n));
    }
    return isValidUtf8(bytes) ? QString::fromUtf8(bytes) : windows1252::decode(bytes);
}

QStringList decodeArguments(int argc, char **argv)
{
    std::setlocale(LC_CTYPE, "");
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(decodeArgument(QByteArrayView(argv[i], qsizetype(std::strlen(argv[i])))));
    return arguments;
}

} // namespace plintex::cli
