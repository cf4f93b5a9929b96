#pragma once

#include "settings/document.h"

#include <QObject>
#include <QStringList>

class QMenu;

namespace plintex {

class Dialogs;
class DocumentHost;

/// Opening and saving documents, the recent-documents menu, and clearing the work area.
class DocumentActions : public QObject {
    Q_OBJECT
public:
    DocumentActions(DocumentHost &host, Dialogs &dialogs, const QString &programFolder);

    /// "Open File (right click for recent)".
    void open();
    /// Reads the document at `path` as Open does once a file is chosen: the text, the
    /// recent list, and a warning naming the file when it cannot be read. True when read.
    bool openPath(const QString &path);
    /// A file dropped on the work area: opened as Open would, without the file dialog.
    void openDropped(const QString &path);
    /// A right click on the open button shows the recent menu below it.
    void attachRecentMenu(QWidget *openButton);
    /// The recent menu, popped up at a screen point; opens the entry chosen.
    void showRecentMenu(const QPoint &globalPos);

    /// "Save File". True when the text was written.
    bool save();
    /// "Clear".
    void clear();
    /// A run rewrote the lines (see FunctionController::rowsRearranged): a kept row keeps its
    /// own line break, a new one gets the text's line end, as on the command line.
    void followRows(const QList<qsizetype> &origins, bool snapshotTaken);
    /// The toolbar's Undo put its snapshot back: the breaks go back with it.
    void snapshotRestored() { m_format.mixedEnds = m_snapshotEnds; }

    TextMode mode() const { return m_mode; }
    QStringList recentList() const { return m_recent; }
    QString documentPath() const { return m_documentPath; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Proceed { Yes, No };
    /// The unsaved-text question of Open and the recent menu: Proceed::Yes when the action may
    /// go on to open a file.
    Proceed askAboutUnsavedText();
    void openChosen(const QString &path);
    bool load(const QString &path);
    void openRecent(const QString &path, qsizetype index);
    QString recentFile() const;

    DocumentHost &m_host;
    QWidget *m_window;
    QWidget *m_openButton = nullptr;
    Dialogs &m_dialogs;
    QString m_programFolder;
    TextMode m_mode = TextMode::Plain;
    int m_saveFilter = 0;          // the save dialog keeps the file type last chosen
    TextFormat m_format;           // how the document was read, for writing it back
    QList<LineEnd> m_snapshotEnds; // the breaks of the text in the undo snapshot
    QString m_documentPath;
    QStringList m_recent;
};

} // namespace plintex
