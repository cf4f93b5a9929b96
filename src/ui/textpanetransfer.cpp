// Moving text in and out of the pane by other means than keys: the primary selection, drag and
// drop, and the editing menu.
#include "ui/textpane.h"

#include <QClipboard>
#include <QDrag>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMetaMethod>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace plintex {

namespace {

const QString kPlainText = u"text/plain"_s;

} // namespace

/// Text of the pane handed out only when asked for, so that selecting all of a large text costs
/// nothing until another program pastes it. Before the text under it changes, the pane makes it
/// keep its rows (shared with the store, not copied).
class TextPaneMimeData : public QMimeData {
public:
    TextPaneMimeData(TextPane *pane, TextPosition from, TextPosition to)
        : m_pane(pane), m_from(from), m_to(to)
    {
    }

    const TextPane *source() const { return m_pane; }
    TextPosition from() const { return m_from; }
    TextPosition to() const { return m_to; }
    bool isKept() const { return m_kept; }
    void setRange(TextPosition from, TextPosition to)
    {
        m_from = from;
        m_to = to;
    }
    void keep()
    {
        if (m_kept)
            return;
        if (m_pane)
            m_rows = m_pane->store().rowsBetween(m_from, m_to);
        m_kept = true;
    }
    QString textNow() const
    {
        if (m_kept)
            return m_rows.join(u'\n');
        return m_pane ? m_pane->store().textBetween(m_from, m_to) : QString();
    }

    QStringList formats() const override { return {kPlainText}; }
    bool hasFormat(const QString &mimeType) const override { return mimeType == kPlainText; }

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType) const override
    {
        return mimeType == kPlainText ? QVariant(textNow()) : QVariant();
    }

private:
    QPointer<TextPane> m_pane;
    TextPosition m_from;
    TextPosition m_to;
    bool m_kept = false;
    QStringList m_rows;
};

const QMimeData *TextPane::primarySelection() const
{
    return m_primary.data();
}

void TextPane::publishPrimary()
{
    const TextPosition from = std::min(m_anchor, m_caret);
    const TextPosition to = std::max(m_anchor, m_caret);
    if (m_primary && !m_primary->isKept()) {
        // Still ours and still over the live text: only its ends move.
        m_primary->setRange(from, to);
        return;
    }
    auto *mime = new TextPaneMimeData(this, from, to);
    m_primary = mime;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection()) {
        m_ownPrimary.reset();
        clipboard->setMimeData(mime, QClipboard::Selection);
    } else {
        m_ownPrimary.reset(mime);
    }
}

void TextPane::keepPrimaryText()
{
    if (m_primary)
        m_primary->keep();
}

void TextPane::pastePrimaryAt(TextPosition position)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (m_readOnly || !clipboard->supportsSelection())
        return;
    const QMimeData *mime = clipboard->mimeData(QClipboard::Selection);
    if (!mime || !mime->hasText())
        return;
    const QString text = mime->text(); // before the caret moves and the selection goes
    if (text.isEmpty())
        return;
    moveCaret(position, false);
    insertText(text);
    Q_EMIT pasted();
}

// ---- drag and drop ----

void TextPane::startDrag()
{
    const TextPosition from = std::min(m_anchor, m_caret);
    const TextPosition to = std::max(m_anchor, m_caret);
    auto *drag = new QDrag(this);
    drag->setMimeData(new TextPaneMimeData(this, from, to));
    m_droppedOnSelf = false;
    const quint64 edits = m_editCount;
    const Qt::DropActions allowed =
        m_readOnly ? Qt::DropActions(Qt::CopyAction) : Qt::CopyAction | Qt::MoveAction;
    const Qt::DropAction done = drag->exec(allowed, m_readOnly ? Qt::CopyAction : Qt::MoveAction);
    // Moved into another program: the text leaves here, if it is still where it was.
    if (done == Qt::MoveAction && !m_droppedOnSelf && !m_readOnly && edits == m_editCount)
        edit(from, to, QStringView(), EditKind::Other);
}

bool TextPane::isOwnDrag(const QMimeData *mime) const
{
    const auto *own = dynamic_cast<const TextPaneMimeData *>(mime);
    return own && own->source() == this;
}

namespace {

QString firstLocalFile(const QMimeData *mime)
{
    if (!mime->hasUrls())
        return {};
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

void TextPane::setDropCaret(TextPosition position, bool shown)
{
    if (m_dropCaretShown == shown && m_dropCaret == position)
        return;
    m_dropCaretShown = shown;
    m_dropCaret = position;
    viewport()->update();
}

void TextPane::dragEnterEvent(QDragEnterEvent *event)
{
    const QMimeData *mime = event->mimeData();
    if (!firstLocalFile(mime).isEmpty() || (mime->hasText() && !m_readOnly)) {
        event->acceptProposedAction();
        setDropCaret(positionAt(event->position().toPoint()), mime->hasText());
    } else {
        event->ignore();
    }
}

void TextPane::dragMoveEvent(QDragMoveEvent *event)
{
    const QMimeData *mime = event->mimeData();
    if (firstLocalFile(mime).isEmpty() && (!mime->hasText() || m_readOnly)) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    setDropCaret(positionAt(point), mime->hasText() && firstLocalFile(mime).isEmpty());
    event->acceptProposedAction();
    // Near an edge, scroll so the drop can reach text out of view.
    const QRect area = viewport()->rect();
    if (point.y() < m_rowHeight)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
    else if (point.y() > area.bottom() - m_rowHeight)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
}

void TextPane::dragLeaveEvent(QDragLeaveEvent *)
{
    setDropCaret(m_dropCaret, false);
}

void TextPane::dropEvent(QDropEvent *event)
{
    setDropCaret(m_dropCaret, false);
    const QMimeData *mime = event->mimeData();
    const QString file = firstLocalFile(mime);
    if (!file.isEmpty()) {
        event->acceptProposedAction();
        Q_EMIT fileDropped(file);
        return;
    }
    if (m_readOnly || !mime->hasText()) {
        event->ignore();
        return;
    }
    const TextPosition at = positionAt(event->position().toPoint());
    const auto *own = dynamic_cast<const TextPaneMimeData *>(mime);
    const bool move = event->dropAction() == Qt::MoveAction;
    if (own && own->source() == this && move) {
        m_droppedOnSelf = true;
        event->acceptProposedAction();
        const TextPosition from = own->from();
        const TextPosition to = own->to();
        if (at >= from && at <= to)
            return; // dropped onto itself
        // One edit over the span from the drop point to the far end of the text moved, so that
        // one undo puts it back.
        const QString moved = m_store.textBetween(from, to);
        if (at < from) {
            const QString between = m_store.textBetween(at, from);
            edit(at, to, QString(moved + between), EditKind::Other);
            const qsizetype start = m_store.offsetOf(at);
            setSelection(start, moved.size());
        } else {
            const QString between = m_store.textBetween(to, at);
            const qsizetype start = m_store.offsetOf(from) + between.size();
            edit(from, at, QString(between + moved), EditKind::Other);
            setSelection(start, moved.size());
        }
        return;
    }
    if (own && own->source() == this)
        m_droppedOnSelf = true; // copied here: the source keeps its text
    const QString text = mime->text();
    event->acceptProposedAction();
    const qsizetype start = m_store.offsetOf(at);
    moveCaret(at, false);
    insertText(text);
    setSelection(start, m_store.offsetOf(m_caret) - start);
    setFocus(Qt::OtherFocusReason);
    Q_EMIT pasted();
}

// ---- the editing menu ----

void TextPane::addEditActions(QMenu *menu)
{
    const auto add = [&](const QString &caption, QKeySequence::StandardKey key, bool enabled,
                         void (TextPane::*slot)()) {
        const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
        QAction *action =
            menu->addAction(shortcut.isEmpty() ? caption : caption + u'\t' + shortcut);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
    };
    const bool editable = !m_readOnly;
    const bool pasteable = !QGuiApplication::clipboard()->text().isEmpty();
    add(u"&Undo"_s, QKeySequence::Undo, editable && isUndoAvailable(), &TextPane::undo);
    add(u"&Redo"_s, QKeySequence::Redo, editable && isRedoAvailable(), &TextPane::redo);
    menu->addSeparator();
    add(u"Cu&t"_s, QKeySequence::Cut, editable && hasSelection(), &TextPane::cut);
    QAction *copy = menu->addAction(
        u"&Copy\t"_s + QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText));
    copy->setEnabled(hasSelection());
    connect(copy, &QAction::triggered, this, [this] { this->copy(); });
    add(u"&Paste"_s, QKeySequence::Paste, editable && pasteable, &TextPane::paste);
    add(u"&Delete"_s, QKeySequence::Delete, editable && hasSelection(), &TextPane::deleteSelection);
    menu->addSeparator();
    add(u"Select &All"_s, QKeySequence::SelectAll, !m_store.isEmpty(), &TextPane::selectAll);
    if (!m_extraEditActions.isEmpty()) {
        menu->addSeparator();
        menu->addActions(m_extraEditActions);
    }
}

void TextPane::showEditMenu(const QPoint &globalPos)
{
    QMenu menu(this);
    addEditActions(&menu);
    menu.exec(globalPos);
}

void TextPane::requestContextMenu(const QPoint &globalPos)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&TextPane::contextMenuRequested)))
        Q_EMIT contextMenuRequested(globalPos);
    else
        showEditMenu(globalPos);
}

} // namespace plintex
