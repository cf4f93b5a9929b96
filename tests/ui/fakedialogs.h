#pragma once

#include "ui/dialogs.h"

#include <QStringList>

#include <deque>

namespace plintex {

/// Answers every box without a screen: warnings are recorded, questions take the next queued
/// answer (failing the test when none is queued).
class FakeDialogs : public Dialogs {
public:
    void warning(QWidget *, const QString &text) override { warnings.append(text); }
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

    QStringList warnings;
    QStringList questions;
    std::deque<Answer> answers;
};

} // namespace plintex
