// Writes the documents that are generated from the function catalogue at build time:
//   plintex-gen man TEMPLATE OUT     the man page, its line ".\" FUNCTION LIST" replaced
//   plintex-gen completion OUT       the bash completion for plintex-cli
//   plintex-gen help VERSION OUT     PlintexHelp.html
#include "documents.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace plintex::gen;

namespace {

int fail(const QString &reason)
{
    std::fprintf(stderr, "plintex-gen: %s\n", qPrintable(reason));
    return 1;
}

bool write(const QString &path, const QString &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString what = args.value(0);
    const QList<FunctionView> functions = functionViews();
    QString out;
    QString text;
    if (what == u"man"_s && args.size() == 3) {
        QFile in(args[1]);
        if (!in.open(QIODevice::ReadOnly))
            return fail(u"cannot read "_s + args[1]);
        const QString marker = u".\\\" FUNCTION LIST\n"_s;
        text = QString::fromUtf8(in.readAll());
        if (!text.contains(marker))
            return fail(args[1] + u" has no FUNCTION LIST line"_s);
        text.replace(marker, manFunctionList(functions));
        out = args[2];
    } else if (what == u"completion"_s && args.size() == 2) {
        text = bashCompletion(functions);
        out = args[1];
    } else if (what == u"help"_s && args.size() == 3) {
        text = helpPage(functions, args[1]);
        out = args[2];
    } else {
        return fail(u"usage: plintex-gen man TEMPLATE OUT | completion OUT | help VERSION OUT"_s);
    }
    if (!write(out, text))
        return fail(u"cannot write "_s + out);
    return 0;
}
