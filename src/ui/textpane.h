#pragma once

#include "core/textstore.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <QList>

#include <memory>
#include <vector>

namespace plintex {

class TextPaneLayouts;

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

Q_SIGNALS:
    void textChanged();
    void caretMoved();
    void contextMenuRequested(const QPoint &globalPos);

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

private:
    enum class KeyAction;
    enum class EditKind { Typing, Other };

    // One step of the edit history: enough to redo it and to undo it, given that steps are
    // undone and redone strictly in order.
    struct EditStep {
        TextPosition from;
        TextPosition removedEnd;
        TextPosition insertedEnd;
        QString removed;
        QString inserted;
        TextPosition caretBefore;
        TextPosition anchorBefore;
        bool typing = false;
    };

    KeyAction keyAction(const QKeyEvent *event) const;
    bool isEditAction(KeyAction action) const;

    void resetAfterTextSwap(const QString &oldTextForAccessibility);
    void edit(TextPosition from, TextPosition to, QStringView text, EditKind kind);
    void applyReplace(TextPosition from, TextPosition to, QStringView removed,
                      QStringView inserted);
    void pushUndo(EditStep step);
    void finishEdit();
    void moveCaret(TextPosition position, bool keepAnchor, bool keepPreferredX = false);
    void selectRange(TextPosition anchor, TextPosition caret);
    void caretChanged(TextPosition oldCaret, TextPosition oldAnchor);
    void deleteBackward(bool byWord);
    void deleteForward(bool byWord);

    TextPosition nextCharacter(TextPosition p) const;
    TextPosition previousCharacter(TextPosition p) const;
    TextPosition nextWord(TextPosition p) const;
    TextPosition previousWord(TextPosition p) const;
    void selectWordAt(TextPosition p);
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

    TextStore m_store;
    std::unique_ptr<TextPaneLayouts> m_layouts;
    TextPosition m_caret;
    TextPosition m_anchor;
    qreal m_preferredX = -1; // kept while moving up and down
    bool m_readOnly = false;
    QList<qreal> m_tabStops;
    QColor m_background;
    int m_rowHeight = 1;
    qreal m_charWidth = 1;  // for the cheap estimate of the widest row
    qreal m_widestSeen = 0; // widths actually met, which may exceed the estimate
    QString m_preedit;

    QBasicTimer m_blinkTimer;
    bool m_caretShown = true;
    QBasicTimer m_dragTimer;
    QPoint m_dragPoint;
    bool m_dragging = false;
    qreal m_wheelRows = 0; // what high-resolution wheels sent short of a whole row
    bool m_scrollBarsPending = false;

    std::vector<EditStep> m_undo;
    std::vector<EditStep> m_redo;
    qsizetype m_undoChars = 0;
    bool m_typingOpen = false; // the last step may still take typed characters
};

} // namespace plintex
