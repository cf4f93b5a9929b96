#pragma once

#include "ui/dialogs.h"
#include "ui/preferencesdialog.h"
#include "ui/printing/printparametersdialog.h"

#include <QMenu>
#include <QPrinter>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>

namespace plintex {

/// Answers every box without a screen: warnings are recorded; questions, file dialogs and menus
/// take the next queued answer, and an unexpected one fails the test.
class FakeDialogs : public Dialogs {
public:
    void warning(QWidget *, const QString &text, std::optional<QPoint>) override
    {
        warnings.append(text);
    }
    void warningInPlace(QWidget *, const QString &text) override
    {
        warnings.append(text);
        inPlace.append(text);
    }
    Answer question(QWidget *, const QString &text, bool, std::optional<QPoint>) override
    {
        questions.append(text);
        if (answers.empty()) {
            qWarning("unexpected question: %s", qPrintable(text));
            return Answer::Cancel;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    /// Takes the next queued answer: Yes is "OK".
    bool confirm(QWidget *parent, const QString &text, QPoint pointer) override
    {
        confirmPointer = pointer;
        return question(parent, text, true, pointer) == Answer::Yes;
    }
    std::optional<FileChoice> chooseFileToOpen(QWidget *, const QString &, const QStringList &,
                                               int) override
    {
        return nextFile(u"open");
    }
    std::optional<FileChoice> chooseFileToSave(QWidget *, const QString &, const QStringList &,
                                               int filter) override
    {
        saveFilterOffered = filter;
        return nextFile(u"save");
    }
    bool runPreferences(PreferencesDialog &dialog) override
    {
        if (!preferences) {
            qWarning("unexpected preferences dialog");
            return false;
        }
        return std::exchange(preferences, nullptr)(dialog);
    }
    QAction *popUp(QMenu &menu, const QPoint &) override
    {
        menuShown = QStringList();
        for (const QAction *a : menu.actions()) {
            if (a->isVisible())
                menuShown.append(a->text());
        }
        const int pick = std::exchange(menuPick, -1);
        return pick >= 0 ? menu.actions().value(pick) : nullptr;
    }

    bool runPrintParameters(PrintParametersDialog &dialog) override
    {
        if (!printParameters) {
            qWarning("unexpected print parameters dialog");
            return false;
        }
        return std::exchange(printParameters, nullptr)(dialog);
    }
    /// Prints to the PDF file `printTo`; without one, the printer is as on a system that has
    /// none installed, whatever this one has.
    bool choosePrinter(QWidget *, QPrinter &printer) override
    {
        printer.setOutputFileName(printTo);
        printer.setOutputFormat(QPrinter::PdfFormat);
        return true;
    }
    void openUrl(const QUrl &url) override { urls.append(url); }

    /// Forgets everything, answers left over by a failed test included.
    void reset() { *this = FakeDialogs(); }

    QStringList warnings;
    QStringList inPlace; ///< the warnings shown without moving the pointer
    QStringList questions;
    std::deque<Answer> answers;
    std::deque<FileChoice> files; ///< an empty path cancels the dialog
    std::function<bool(PreferencesDialog &)> preferences;
    std::function<bool(PrintParametersDialog &)> printParameters;
    QString printTo;
    QList<QUrl> urls;
    QStringList menuShown;
    int menuPick = -1;
    int saveFilterOffered = -1;
    QPoint confirmPointer;

private:
    std::optional<FileChoice> nextFile(const char16_t *which)
    {
        if (files.empty()) {
            qWarning("unexpected %s dialog", qPrintable(QString::fromUtf16(which)));
            return std::nullopt;
        }
        const FileChoice f = files.front();
        files.pop_front();
        if (f.path.isEmpty())
            return std::nullopt;
        return f;
    }
};

} // namespace plintex
