#include "ui/documentactions.h"

#include "settings/recentfiles.h"
#include "ui/dialogs.h"
#include "ui/documenthost.h"

#include <QWidget>

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

const QString kExtensionWarning = u"Incorrect file extention - must be .doc or .txt"_s;
const QString kTxt = u".txt"_s;
const QString kDoc = u".doc"_s;

const QStringList kOpenFilters{u"All Files (*.*)"_s, u"Text Document (*.txt)"_s,
                               u"Rich Text Format (RTF) (*.doc)"_s};
const QStringList kSaveFilters{u"Rich Text Format (RTF) (*.doc)"_s, u"Text Document (*.txt)"_s,
                               u"All Files (*.*)"_s};
constexpr int kRtfSaveFilter = 0;
constexpr int kTextSaveFilter = 1;

} // namespace

DocumentActions::DocumentActions(DocumentHost &host, Dialogs &dialogs, const QString &programFolder)
    : QObject(host.dialogParent()), m_host(host), m_window(host.dialogParent()), m_dialogs(dialogs),
      m_programFolder(programFolder)
{
}

QString DocumentActions::recentFile() const
{
    return m_programFolder + u"/fdat.plx"_s;
}

DocumentActions::Proceed DocumentActions::askAboutUnsavedText()
{
    const QPoint pointer = m_window->pos() + QPoint(450, 332);
    switch (m_dialogs.question(m_window, u"Plintex text has changed.  Save?"_s, true, pointer)) {
    case Dialogs::Answer::No:
        return Proceed::Yes;
    case Dialogs::Answer::Yes:
        save();
        return Proceed::No;
    case Dialogs::Answer::Cancel:
        break;
    }
    return Proceed::No;
}

void DocumentActions::open()
{
    if (!m_host.mayReplaceText())
        return;
    if (m_host.isModified() && askAboutUnsavedText() == Proceed::No)
        return;
    m_host.resetAll();
    const std::optional<FileChoice> choice =
        m_dialogs.chooseFileToOpen(m_window, QDir::currentPath(), kOpenFilters, 0);
    if (choice)
        openChosen(choice->path);
}

void DocumentActions::openDropped(const QString &path)
{
    if (!m_host.mayReplaceText())
        return;
    if (m_host.isModified() && askAboutUnsavedText() == Proceed::No)
        return;
    m_host.resetAll();
    openChosen(path);
}

void DocumentActions::openChosen(const QString &path)
{
    if (!path.endsWith(kTxt) && !path.endsWith(kDoc)) {
        m_dialogs.warning(m_window, kExtensionWarning);
        return;
    }
    openPath(path);
}

bool DocumentActions::openPath(const QString &path)
{
    if (!m_host.mayReplaceText())
        return false;
    // Opening follows the file type last chosen for saving: RTF until a save chooses another.
    m_mode = m_saveFilter == kRtfSaveFilter ? TextMode::Rich : TextMode::Plain;
    // Read first: a file that cannot be read changes neither the text nor the recent list.
    if (!load(path))
        return false;
    m_recent = recent::withOpened(recent::load(recentFile()), path);
    recent::store(recentFile(), m_recent);
    return true;
}

void DocumentActions::showRecentMenu(const QPoint &globalPos)
{
    if (!m_host.mayReplaceText())
        return;
    m_recent = recent::load(recentFile());
    const QStringList offered =
        recent::offered(m_recent, [](const QString &path) { return QFileInfo::exists(path); });
    m_recent = offered;
    // No menu, no question.
    if (offered.isEmpty())
        return;
    // Asked whenever the text has changed: choosing an entry replaces the text.
    if (m_host.isModified() && askAboutUnsavedText() == Proceed::No)
        return;

    QMenu menu(m_window);
    for (qsizetype k = 0; k < recent::kMaxEntries; ++k) {
        QAction *entry = menu.addAction(k < offered.size() ? offered[k] : QString());
        entry->setVisible(k < offered.size());
    }
    QAction *chosen = m_dialogs.popUp(menu, globalPos);
    const qsizetype index = menu.actions().indexOf(chosen);
    if (index >= 0 && index < offered.size())
        openRecent(offered[index], index);
}

void DocumentActions::openRecent(const QString &path, qsizetype index)
{
    if (!load(path))
        return;
    m_recent = recent::movedToTop(m_recent, index);
    recent::store(recentFile(), m_recent);
}

bool DocumentActions::load(const QString &path)
{
    QString error;
    const std::optional<Document> document = readDocument(path, m_mode, &error);
    if (!document) {
        m_dialogs.warning(m_window, u"Cannot open "_s + path + u"\r"_s + error);
        return false;
    }
    m_format = document->format;
    m_documentPath = path;
    m_host.replaceText(document->rows);
    m_host.setModified(false);
    return true;
}

bool DocumentActions::save()
{
    m_host.resetAll();
    const std::optional<FileChoice> choice =
        m_dialogs.chooseFileToSave(m_window, QDir::currentPath(), kSaveFilters, m_saveFilter);
    if (!choice)
        return false;
    m_saveFilter = choice->filter < 0 ? m_saveFilter : choice->filter;
    const bool text = choice->filter == kTextSaveFilter;
    const TextMode mode = text ? TextMode::Plain : TextMode::Rich;
    const QString extension = text ? kTxt : kDoc;
    m_mode = mode;

    if (QFileInfo::exists(choice->path) || QFileInfo::exists(choice->path + extension)) {
        if (m_dialogs.question(m_window, u"File aready exist.  Replace it?"_s, false) !=
            Dialogs::Answer::Yes)
            return false;
    }

    // The extension is that of the file's own name: a folder with a dot in its name is no
    // concern of it.
    const QString name = QFileInfo(choice->path).fileName();
    QString target = choice->path;
    const qsizetype dot = name.indexOf(u'.');
    if (dot < 0) {
        target += extension;
    } else if (name.mid(dot, 10) != extension) {
        m_dialogs.warning(m_window, kExtensionWarning);
        return false;
    }

    const QFont font = m_host.textFont();
    QString error;
    if (!writeDocument(target, m_host.rows(), mode, m_format, font.family(), font.pointSize(),
                       &error)) {
        m_dialogs.warning(m_window, u"Cannot save "_s + target + u"\r"_s + error);
        return false;
    }
    m_documentPath = target;
    m_host.setModified(false);
    return true;
}

void DocumentActions::attachRecentMenu(QWidget *openButton)
{
    m_openButton = openButton;
    openButton->installEventFilter(this);
}

bool DocumentActions::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
    if (watched != m_openButton ||
        (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonRelease &&
         t != QEvent::MouseButtonDblClick))
        return QObject::eventFilter(watched, event);
    if (static_cast<QMouseEvent *>(event)->button() != Qt::RightButton)
        return QObject::eventFilter(watched, event);
    // The menu opens once the click is over: a box or menu shown while the button is still
    // held would leave the press half-handled and swallow the next clicks.
    if (t == QEvent::MouseButtonRelease) {
        const QPoint at = m_openButton->mapToGlobal(QPoint(27, 49));
        QTimer::singleShot(0, this, [this, at] { showRecentMenu(at); });
    }
    return true;
}

void DocumentActions::clear()
{
    if (!m_host.mayReplaceText())
        return;
    if (m_dialogs.question(m_window, u"Clear work area?"_s, false) != Dialogs::Answer::Yes)
        return;
    // A run may have started while the question was open.
    if (m_host.mayReplaceText()) {
        m_snapshotEnds = m_format.mixedEnds;
        m_host.clearText();
    }
}

void DocumentActions::followRows(const QList<qsizetype> &origins, bool snapshotTaken)
{
    if (snapshotTaken)
        m_snapshotEnds = m_format.mixedEnds;
    // Alike breaks stay alike; a run that does not tell keeps them in turn.
    const QList<LineEnd> &ends = m_format.mixedEnds;
    if (ends.isEmpty() || origins.isEmpty())
        return;
    QList<LineEnd> followed;
    followed.reserve(origins.size());
    for (const qsizetype origin : origins)
        followed.append(origin >= 0 && origin < ends.size() ? ends[origin] : m_format.lineEnd);
    m_format.mixedEnds = std::move(followed);
}

} // namespace plintex
