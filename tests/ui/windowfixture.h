#pragma once

#include "fakedialogs.h"
#include "testfiles.h"

#include "ops/registry.h"
#include "ui/functionbar.h"
#include "ui/mainwindow.h"
#include "ui/panel/parameterpanel.h"
#include "ui/restraintstrip.h"
#include "ui/textpane.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>

namespace plintex::testing {

/// One main window over a program folder of its own, every box answered by FakeDialogs. The
/// window suites share it: select a function, fill its panel, press a run button, read the text.
class WindowFixture {
public:
    /// Writes the settings files and sets PLINTEX_HOME; call from initTestCase().
    bool prepareHome()
    {
        if (!home.isValid())
            return false;
        qputenv("PLINTEX_HOME", home.path().toLocal8Bit());
        return writeFile(home.filePath(QStringLiteral("prefs.plx")), "10\r\n8\r\n5\r\n") &&
               writeFile(home.filePath(QStringLiteral("rmdat.plx")), "a;b\r\n");
    }

    /// A new window, started up, shown and activated; call from init().
    bool open()
    {
        dialogs.reset();
        window = new MainWindow(dialogs);
        if (!window->startUp())
            return false;
        window->show();
        window->activated();
        return QTest::qWaitForWindowExposed(window);
    }

    /// Call from cleanup(): fails when a queued answer was not used.
    bool close()
    {
        delete window;
        window = nullptr;
        return dialogs.answers.empty() && dialogs.files.empty();
    }

    /// Clicks the function's button, as the user would to select it.
    const FunctionEntry &select(QStringView name)
    {
        const FunctionEntry *f = catalogue().byName(name);
        Q_ASSERT(f);
        QTest::mouseClick(window->functionBar()->button(f->number), Qt::LeftButton);
        return *f;
    }
    ParameterPanel &panel(const FunctionEntry &f) { return *window->panel(f.number); }
    /// Puts a value into a parameter's control, as typing it would. A key that names no
    /// parameter of the function ends the test, rather than leave the run on its defaults.
    void set(const FunctionEntry &f, const QString &key, const QString &value)
    {
        if (!f.param(key))
            qFatal("%s has no parameter %s", qPrintable(f.name), qPrintable(key));
        panel(f).setValue(key, value);
    }
    QString value(const FunctionEntry &f, const QString &key)
    {
        return panel(f).values().text(key);
    }
    /// Presses a run button of the function's panel.
    void run(const FunctionEntry &f, const QString &button = QStringLiteral("run"))
    {
        QAbstractButton *b = panel(f).runButton(button);
        Q_ASSERT(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    /// The row restraint strip: "Auto reset" cleared, From and To set.
    void band(qint64 from, qint64 to)
    {
        window->restraintStrip()->autoReset()->setChecked(false);
        window->restraintStrip()->setFrom(from);
        window->restraintStrip()->setTo(to);
    }

    void setText(const QString &text) { window->workArea()->setText(text); }
    QString text() const { return window->workArea()->store().text(); }

    QTemporaryDir home;
    FakeDialogs dialogs;
    MainWindow *window = nullptr;
};

} // namespace plintex::testing
