#pragma once

#include "core/textstore.h"

#include <QAbstractScrollArea>
#include <QAccessibleEvent>
#include <QBasicTimer>
#include <QColor>
#include <QList>
#include <QMimeData>
#include <QPointer>

#include <memory>
#include <vector>

namespace plintex {

class TextPaneLayouts;
class TextPaneWidths;
class TextPaneMimeData;

/// Makes screen readers see TextPane as an editable text; call once after the application
/// object exists and before the first pane is made.
void installTextPaneAccessibility();

/// The plain-text editing pane: a TextStore shown one row per line, without wrapping.
///
/// Only the rows in view are ever laid out, so loading, scrolling and typing stay cheap however
/// many rows the text has. Key events go to the pane itself (not its viewport), so an event
/// filter on the pane sees each key before it acts.
class TextPane : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextPane(QWidget *parent = nullptr);
    ~TextPane() override;

    /// The text itself. After changing it directly, call storeEdited().
    TextStore &store() { return m_store; }
    const TextStore &store() const { return m_store; }
    /// Takes in changes made straight to store(): clamps the caret, drops the edit history,
    /// lays the view out again and emits textChanged().
    void storeEdited();

    QString text() const { return m_store.text(); }
    void setText(QStringView text);
    QStringList lines() const { return m_store.lines(); }
    void setLines(QStringList lines);
    /// A run's result: the lines (as setLines takes them) replace the whole text as one step of
    /// the edit history, which Undo takes back and Redo brings back; the caret goes to the start.
    /// Refused when read-only.
    void replaceLines(QStringList lines);
    /// The whole text given as rows, none holding a line break, replaces the text as one step of
    /// the edit history; only the rows that differ are touched, and the caret goes to the end
    /// of them. Refused when read-only.
    void replaceRows(const QStringList &rows);

    TextPosition caret() const { return m_caret; }
    TextPosition anchor() const { return m_anchor; }
    bool hasSelection() const { return m_caret != m_anchor; }
    QString selectedText() const { return m_store.textBetween(m_anchor, m_caret); }
    void setCaret(TextPosition position, bool keepAnchor = false);
    /// Offsets count in the character-sequence view (a line break is one position).
    qsizetype selectionStart() const;
    qsizetype selectionLength() const;
    void setSelection(qsizetype startOffset, qsizetype length);
    void moveCaretToOffset(qsizetype offset);
    void selectAll();
    void ensureCaretVisible() { ensureVisible(m_caret); }
    /// Scrolls the least needed (sideways by a quarter of the view) to show a position.
    void ensureVisible(TextPosition position);

    /// Replaces the selection as typing or pasting does; refused when read-only.
    void insertText(QStringView text);
    /// Replaces the text between two offsets as one undoable edit; refused when read-only.
    void replaceRange(qsizetype startOffset, qsizetype endOffset, QStringView text);
    void cut();
    void copy() const;
    void paste();
    /// Removes the selection, as the editing menu's Delete does.
    void deleteSelection();
    void undo();
    void redo();
    bool isUndoAvailable() const { return !m_undo.empty(); }
    bool isRedoAvailable() const { return !m_redo.empty(); }

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    /// Tab stops in pixels from the start of the text; beyond the last one they go on at the
    /// last interval. An empty list means a stop every eight spaces.
    void setTabStops(const QList<qreal> &pixelPositions);
    QList<qreal> tabStops() const { return m_tabStops; }
    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    /// Where a position is drawn, in viewport coordinates: as wide as its character, or as a
    /// caret at the end of a row.
    QRect positionRect(TextPosition position) const;
    /// The position nearest to a point in viewport coordinates.
    TextPosition positionAt(const QPoint &viewportPoint) const;
    int rowHeight() const { return m_rowHeight; }
    /// The left edge of column 0 in viewport coordinates when scrolled fully left.
    static constexpr int leftMargin = 4;

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    /// Also hands every event meant for screen readers to a function, so that what they are told
    /// can be checked where no screen reader listens.
    using AccessibleObserver = void (*)(const QAccessibleEvent &event);
    static void setAccessibleObserver(AccessibleObserver observer);

    /// Appends Undo, Redo, Cut, Copy, Paste, Delete and Select All, each enabled as it applies
    /// now, to a menu that the caller shows.
    void addEditActions(QMenu *menu);
    /// Actions of the window's own that the editing menu offers after the pane's.
    void setExtraEditActions(QList<QAction *> actions) { m_extraEditActions = std::move(actions); }
    /// What the pane offers as the primary selection: the last text selected, handed over only
    /// when asked for. Null before anything was selected.
    const QMimeData *primarySelection() const;

Q_SIGNALS:
    void textChanged();
    void caretMoved();
    /// A right click, the Menu key or Shift+F10. When nothing is connected the pane shows its own
    /// editing menu.
    void contextMenuRequested(const QPoint &globalPos);
    /// A file was dropped on the pane; the owner opens it as a document.
    void fileDropped(const QString &path);
    /// Text came in by a paste: a paste key or menu entry, a middle click, a drop of text
    /// (not a move within the pane). Emitted after textChanged().
    void pasted();

protected:
    bool event(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    friend class TextPaneMimeData;
    enum class KeyAction;
    // Runs of the first three kinds merge into one undo step.
    enum class EditKind { Typing, Backspace, Delete, Other };
    enum class ClickUnit { Character, Word, Row };

    // One step of the edit history: enough to redo it and to undo it, given that steps are
    // undone and redone strictly in order. A step holds only the text that is not in the store:
    // what it removed while it can be undone, what it inserted while it can be redone.
    struct EditStep {
        TextPosition from;
        TextPosition removedEnd;
        TextPosition insertedEnd;
        QStringList removed;
        QStringList inserted;
        TextPosition caretBefore;
        TextPosition anchorBefore;
        EditKind kind = EditKind::Other;
        qsizetype bytes() const;
    };

    KeyAction keyAction(const QKeyEvent *event) const;
    bool isEditAction(KeyAction action) const;

    void replaceChangedRows(const QStringList &rows, bool splitting);
    void resetAfterTextSwap(qsizetype oldLength);
    void edit(TextPosition from, TextPosition to, QStringView text, EditKind kind);
    void editRows(TextPosition from, TextPosition to, QStringList rows, EditKind kind);
    void applyReplace(TextPosition from, TextPosition to, const QStringList &removed,
                      QStringList inserted);
    void notifyAccessibleChange(qsizetype offset, const QString &gone, const QString &added);
    void pushUndo(EditStep step);
    bool mergeIntoLast(const EditStep &step);
    void finishEdit();
    void moveCaret(TextPosition position, bool keepAnchor, bool keepPreferredX = false);
    void selectRange(TextPosition anchor, TextPosition caret);
    void caretChanged(TextPosition oldCaret, TextPosition oldAnchor);
    void deleteBackward(bool byWord);
    void deleteForward(bool byWord);
    void moveVisually(bool left, bool extend);
    void showEditMenu(const QPoint &globalPos);
    void requestContextMenu(const QPoint &globalPos);

    // Primary selection, drag and drop.
    void publishPrimary();
    void keepPrimaryText(); // before the text under the primary selection changes
    void pastePrimaryAt(TextPosition position);
    void startDrag();
    bool isOwnDrag(const QMimeData *mime) const;
    void setDropCaret(TextPosition position, bool shown);
    void extendByUnit(TextPosition position);

    TextPosition nextCharacter(TextPosition p) const;
    TextPosition previousCharacter(TextPosition p) const;
    TextPosition nextWord(TextPosition p) const;
    TextPosition previousWord(TextPosition p) const;
    void selectWordAt(TextPosition p);
    void wordBounds(TextPosition p, TextPosition &from, TextPosition &to) const;
    void rowBounds(TextPosition p, TextPosition &from, TextPosition &to) const;
    bool hasRightToLeftText(qsizetype row) const;
    TextPosition verticalMove(TextPosition p, qsizetype rows);
    TextPosition snapped(TextPosition p) const;

    qreal xOf(TextPosition p) const;
    qsizetype firstVisibleRow() const;
    qsizetype fullyVisibleRows() const;
    qreal contentWidth() const;
    void updateMetrics();
    void updateScrollBars();
    void relayoutAll();
    void restartBlinking();
    void repaintCaret();
    void autoScroll();
    void notifyAccessibleCaret();
    void updatePreedit(const QInputMethodEvent *event);

    TextStore m_store;
    std::unique_ptr<TextPaneLayouts> m_layouts;
    std::unique_ptr<TextPaneWidths> m_widths;
    TextPosition m_caret;
    TextPosition m_anchor;
    qreal m_preferredX = -1; // kept while moving up and down
    bool m_readOnly = false;
    QList<QAction *> m_extraEditActions;
    QList<qreal> m_tabStops;
    QColor m_background;
    int m_rowHeight = 1;
    qreal m_charWidth = 1;

    QBasicTimer m_blinkTimer;
    bool m_caretShown = true;
    QBasicTimer m_dragTimer;
    QPoint m_dragPoint;
    bool m_dragging = false;
    ClickUnit m_clickUnit = ClickUnit::Character;
    TextPosition m_unitFrom; // the word or row first clicked, which a drag keeps selected
    TextPosition m_unitTo;
    quint64 m_doubleClickTime = 0;
    QPoint m_doubleClickPoint;
    bool m_pressInSelection = false; // a press that may start dragging the selection
    QPoint m_pressPoint;
    bool m_dropCaretShown = false;
    TextPosition m_dropCaret;
    bool m_droppedOnSelf = false;
    quint64 m_editCount = 0; // tells whether the text changed meanwhile
    QPointer<TextPaneMimeData> m_primary;
    std::unique_ptr<QMimeData> m_ownPrimary; // where the platform has no primary selection
    qreal m_wheelRows = 0; // what high-resolution wheels sent short of a whole row
    bool m_scrollBarsPending = false;

    std::vector<EditStep> m_undo;
    std::vector<EditStep> m_redo;
    qsizetype m_undoBytes = 0;
    bool m_typingOpen = false; // the last step may still take more of the same kind
};

} // namespace plintex
