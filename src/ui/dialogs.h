#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

class QAction;
class QMenu;
class QPrinter;
class QUrl;
class QWidget;

namespace plintex {

class PreferencesDialog;
class PrintParametersDialog;

/// A file chosen in a file dialog, with the index of the file type chosen with it.
struct FileChoice {
    QString path;
    int filter = 0;
};

/// Every box the window shows goes through this interface, so that tests answer them without
/// a screen and nothing below the window ever shows anything itself.
class Dialogs {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Dialogs() = default;

    /// A modal "Warning" box with one "OK" button; a CR in the text breaks the line. The pointer
    /// first moves to `pointer`, or to the middle of the desktop, a little below it.
    virtual void warning(QWidget *parent, const QString &text,
                         std::optional<QPoint> pointer = std::nullopt) = 0;
    /// The same box, the pointer staying where it is.
    virtual void warningInPlace(QWidget *parent, const QString &text) { warning(parent, text); }

    /// A modal "Confirm" question with "Yes" and "No", and "Cancel" when asked for. The pointer
    /// first moves to `pointer` (screen coordinates), or as for a warning when none is given.
    virtual Answer question(QWidget *parent, const QString &text, bool withCancel,
                            std::optional<QPoint> pointer = std::nullopt) = 0;

    /// A modal "Confirm" question with "OK" and "Cancel"; true for "OK". The pointer first
    /// moves to `pointer` (screen coordinates).
    virtual bool confirm(QWidget *parent, const QString &text, QPoint pointer) = 0;

    /// The open and save dialogs: `filters` as "Caption (*.ext)", `filter` the one chosen first.
    virtual std::optional<FileChoice> chooseFileToOpen(QWidget *parent, const QString &folder,
                                                       const QStringList &filters, int filter) = 0;
    virtual std::optional<FileChoice> chooseFileToSave(QWidget *parent, const QString &folder,
                                                       const QStringList &filters, int filter) = 0;

    /// Shows the preferences dialog modally; true when it was closed with "OK".
    virtual bool runPreferences(PreferencesDialog &dialog) = 0;

    /// Pops a menu up at a screen point and returns the action chosen, or nullptr.
    virtual QAction *popUp(QMenu &menu, const QPoint &globalPos) = 0;

    /// Shows the print parameters dialog modally; true when it was closed with "OK".
    virtual bool runPrintParameters(PrintParametersDialog &dialog) = 0;
    /// The platform's printer dialog; true when a printer (or a file to print to) was chosen,
    /// which `printer` then holds.
    virtual bool choosePrinter(QWidget *parent, QPrinter &printer) = 0;
    /// Hands a document to the desktop's viewer for its kind; what the viewer makes of it, a
    /// missing file included, is its own affair.
    virtual void openUrl(const QUrl &url) = 0;
};

/// The real boxes.
class WidgetDialogs : public Dialogs {
public:
    void warning(QWidget *parent, const QString &text, std::optional<QPoint> pointer) override;
    void warningInPlace(QWidget *parent, const QString &text) override;
    Answer question(QWidget *parent, const QString &text, bool withCancel,
                    std::optional<QPoint> pointer) override;
    bool confirm(QWidget *parent, const QString &text, QPoint pointer) override;
    std::optional<FileChoice> chooseFileToOpen(QWidget *parent, const QString &folder,
                                               const QStringList &filters, int filter) override;
    std::optional<FileChoice> chooseFileToSave(QWidget *parent, const QString &folder,
                                               const QStringList &filters, int filter) override;
    bool runPreferences(PreferencesDialog &dialog) override;
    QAction *popUp(QMenu &menu, const QPoint &globalPos) override;
    bool runPrintParameters(PrintParametersDialog &dialog) override;
    bool choosePrinter(QWidget *parent, QPrinter &printer) override;
    void openUrl(const QUrl &url) override;
};

/// Where a warning puts the pointer: (w div 2, h div 2 + 35) of the whole virtual desktop.
QPoint warningPointerPosition();

/// Moves the pointer to the middle of a control's client area, shifted by dx and dy.
void centerMouse(const QWidget &control, int dx, int dy);

} // namespace plintex
