#include "ops/common/collation.h"

namespace plintex::common {

QLocale collationLocale()
{
    QByteArray name;
    for (const char *variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        name = qgetenv(variable);
        if (!name.isEmpty())
            break;
    }
    // "de_DE.UTF-8@euro": the encoding and the modifier say nothing about the order.
    const qsizetype cut = name.indexOf('.') >= 0 ? name.indexOf('.') : name.indexOf('@');
    if (cut >= 0)
        name.truncate(cut);
    const QLocale locale(QString::fromLatin1(name));
    if (name.isEmpty() || name == "POSIX" || locale.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

QCollator rowCollator()
{
    QCollator collator(collationLocale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

} // namespace plintex::common
