#include "ui/textpane.h"

#include <QAccessibleWidget>

namespace plintex {

namespace {

// Screen readers ask for words and lines around an offset; Qt's own answer would first build
// the whole text, so it runs here over a window of rows around the offset instead.
constexpr qsizetype kWindowChars = 4096;

/// Qt's boundary logic over a given piece of text, with nothing else to offer.
class TextWindow : public QAccessibleTextInterface {
public:
    explicit TextWindow(QString text) : m_text(std::move(text)) {}

    QString text(int startOffset, int endOffset) const override
    {
        return m_text.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(m_text.size()); }
    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        return {};
    }

private:
    QString m_text;
};

class TextPaneAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit TextPaneAccessible(TextPane *pane) : QAccessibleWidget(pane, QAccessible::EditableText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !pane()->isReadOnly();
        s.readOnly = pane()->isReadOnly();
        s.multiLine = true;
        s.selectableText = true;
        s.focusable = true;
        return s;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return pane()->text();
        return QAccessibleWidget::text(kind);
    }

    // -- QAccessibleTextInterface: offsets in the character-sequence view --

    void selection(int index, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index == 0 && pane()->hasSelection()) {
            *startOffset = int(pane()->selectionStart());
            *endOffset = *startOffset + int(pane()->selectionLength());
        }
    }
    int selectionCount() const override { return pane()->hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int index) override
    {
        if (index == 0)
            pane()->setCaret(pane()->caret());
    }
    void setSelection(int index, int startOffset, int endOffset) override
    {
        if (index == 0)
            pane()->setSelection(std::min(startOffset, endOffset),
                                 std::abs(endOffset - startOffset));
    }
    int cursorPosition() const override { return int(store().offsetOf(pane()->caret())); }
    void setCursorPosition(int position) override { pane()->moveCaretToOffset(position); }

    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset <= 0 && endOffset >= characterCount())
            return pane()->text();
        return store().textBetween(store().positionOf(startOffset), store().positionOf(endOffset));
    }
    int characterCount() const override { return int(store().length()); }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                             int *endOffset) const override
    {
        return aroundOffset(offset, boundary, startOffset, endOffset, Before);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                            int *endOffset) const override
    {
        return aroundOffset(offset, boundary, startOffset, endOffset, After);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                         int *endOffset) const override
    {
        return aroundOffset(offset, boundary, startOffset, endOffset, At);
    }

    QRect characterRect(int offset) const override
    {
        const QRect r = pane()->positionRect(store().positionOf(offset));
        return QRect(pane()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = pane()->viewport()->mapFromGlobal(point);
        if (!pane()->viewport()->rect().contains(local))
            return -1;
        return int(store().offsetOf(pane()->positionAt(local)));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        pane()->ensureVisible(store().positionOf(endIndex));
        pane()->ensureVisible(store().positionOf(startIndex));
    }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        // Plain text: one run without attributes.
        Q_UNUSED(offset);
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // -- QAccessibleEditableTextInterface: the same undoable edits as typing --

    void deleteText(int startOffset, int endOffset) override
    {
        pane()->replaceRange(startOffset, endOffset, QStringView());
    }
    void insertText(int offset, const QString &text) override
    {
        pane()->replaceRange(offset, offset, text);
    }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        pane()->replaceRange(startOffset, endOffset, text);
    }

private:
    enum Direction { Before, At, After };

    TextPane *pane() const { return static_cast<TextPane *>(widget()); }
    const TextStore &store() const { return pane()->store(); }

    QString aroundOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                         int *endOffset, Direction direction) const
    {
        const auto whole = [&](const QAccessibleTextInterface &source) {
            switch (direction) {
            case Before:
                return source.QAccessibleTextInterface::textBeforeOffset(offset, boundary,
                                                                         startOffset, endOffset);
            case After:
                return source.QAccessibleTextInterface::textAfterOffset(offset, boundary,
                                                                        startOffset, endOffset);
            case At:
                break;
            }
            return source.QAccessibleTextInterface::textAtOffset(offset, boundary, startOffset,
                                                                 endOffset);
        };
        if (boundary == QAccessible::NoBoundary)
            return whole(*this);

        if (offset == -2) // the caret
            offset = cursorPosition();
        const qsizetype length = store().length();
        if (offset == -1 || offset > length)
            offset = int(length);
        // The rows before and after the offset's own, cut short in very long rows.
        const TextPosition at = store().positionOf(offset);
        const qsizetype firstRow = std::max<qsizetype>(0, at.row - 1);
        const qsizetype lastRow = std::min(store().rowCount() - 1, at.row + 1);
        const qsizetype from =
            std::max<qsizetype>(store().offsetOfRow(firstRow), offset - kWindowChars);
        const qsizetype to = std::min<qsizetype>(
            store().offsetOfRow(lastRow) + store().row(lastRow).size(), offset + kWindowChars);
        const TextWindow window(
            store().textBetween(store().positionOf(from), store().positionOf(to)));

        const int base = int(from);
        offset -= base;
        const QString found = whole(window);
        if (*startOffset >= 0)
            *startOffset += base;
        if (*endOffset >= 0)
            *endOffset += base;
        return found;
    }
};

QAccessibleInterface *textPaneAccessibleFactory(const QString &, QObject *object)
{
    if (auto *pane = qobject_cast<TextPane *>(object))
        return new TextPaneAccessible(pane);
    return nullptr;
}

} // namespace

void installTextPaneAccessibility()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(textPaneAccessibleFactory);
        installed = true;
    }
}

} // namespace plintex
