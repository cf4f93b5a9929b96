#include "core/hugepages.h"
#include "firstpaint.h"
#include "ui/dialogs.h"
#include "ui/documentactions.h"
#include "ui/mainwindow.h"
#include "ui/textpane.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

constexpr const char *kUsage = R"(Usage: plintex [FILE]
Reshape plain text laid out in rows and columns.

FILE is opened as "Open File" would open it. Without FILE the work area starts empty.

  -h, --help     show this help and end
  -v, --version  show the version and end

The same functions run from a shell: plintex-cli --list.
)";

void printError(const QString &text)
{
    std::fputs(text.toLocal8Bit().append('\n').constData(), stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    // Answered before the application starts, so that they work without a display.
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-v")) {
            std::puts("plintex " PLINTEX_VERSION);
            return 0;
        }
    }

    // A text of a million lines is a million small strings: before anything is read.
    plintex::restartWithHugePages(argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Plintex"_s);
    QApplication::setApplicationVersion(QStringLiteral(PLINTEX_VERSION));

    QStringList files;
    bool optionsEnd = false;
    for (const QString &arg : app.arguments().mid(1)) {
        if (!optionsEnd && arg == u"--"_s) {
            optionsEnd = true;
        } else if (!optionsEnd && arg.startsWith(u'-')) {
            printError(u"plintex: unknown option "_s + arg + u" (plintex --help lists them)"_s);
            return 2;
        } else {
            files += arg;
        }
    }
    if (files.size() > 1) {
        printError(u"plintex: opens one file at a time; not opened: "_s +
                   files.mid(1).join(u", "_s));
    }

    plintex::FirstPaintReporter firstPaint(sinceStart);
    if (qEnvironmentVariableIsSet("PLINTEX_STARTUP_TIMING"))
        app.installEventFilter(&firstPaint);

    plintex::installTextPaneAccessibility();
    plintex::WidgetDialogs dialogs;
    plintex::MainWindow window(dialogs);
    // Without its required files the program ends after saying which one is missing.
    if (!window.startUp())
        return 1;
    window.show();
    if (!files.isEmpty())
        window.documents()->openPath(QFileInfo(files.front()).absoluteFilePath());
    return QApplication::exec();
}
