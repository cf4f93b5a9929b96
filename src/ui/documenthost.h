#pragma once

#include <QFont>
#include <QStringList>

class QWidget;

namespace plintex {

/// What opening, saving and clearing need of the window: the work area's text and font, the
/// modified flag, and the window as the parent of their boxes.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    virtual QWidget *dialogParent() = 0;
    virtual QStringList rows() const = 0;
    /// Replaces the work area's text, caret at the start.
    virtual void replaceText(const QStringList &rows) = 0;
    /// Empties the work area; its text first goes into the undo snapshot.
    virtual void clearText() = 0;
    virtual QFont textFont() const = 0;
    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
    /// Raises every function button and hides the panels, as opening and saving do.
    virtual void resetAll() = 0;
    /// False, after telling the user, while a run rewrites the text: its result would
    /// overwrite whatever an action put there meanwhile.
    virtual bool mayReplaceText() = 0;
};

} // namespace plintex
