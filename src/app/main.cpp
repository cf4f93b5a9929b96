#include "ui/dialogs.h"
#include "ui/mainwindow.h"
#include "ui/textpane.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Plintex"_s);
    plintex::installTextPaneAccessibility();

    plintex::WidgetDialogs dialogs;
    plintex::MainWindow window(dialogs);
    // Without its required files the program ends after saying which one is missing.
    if (!window.startUp())
        return 1;
    window.show();
    return QApplication::exec();
}
