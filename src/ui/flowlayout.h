#pragma once

#include <QLayout>

namespace plintex {

/// Lays its items out left to right and starts a new line where the next would not fit, so
/// that nothing is ever cut off or scrolled out of sight. Items joined to the one before them
/// (a label and its field, a field and the word after it) move to a new line together; a line
/// break asked for starts a new line whatever the width. An item wider than the whole line
/// gets the line's width, and the height it needs at that width.
class FlowLayout : public QLayout {
public:
    FlowLayout(QWidget *parent, int spacing, int lineSpacing);
    ~FlowLayout() override;

    enum class Join { No, WithPrevious };
    /// Adds a widget after the last item.
    void add(QWidget *widget, Join join = Join::No);
    /// The next item added starts a new line.
    void breakLine() { m_breakPending = true; }

    void addItem(QLayoutItem *item) override;
    int count() const override { return int(m_entries.size()); }
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

private:
    struct Entry {
        QLayoutItem *item;
        bool joined;      ///< stays on the line of the item before it
        bool breakBefore; ///< starts a new line
    };
    /// Lays the items out within `width` from `origin` (placing them only when `apply`); returns
    /// the height used and, in `widest`, the widest line.
    int arrange(QPoint origin, int width, bool apply, int *widest = nullptr) const;

    QList<Entry> m_entries;
    bool m_breakPending = false;
    bool m_joinPending = false;
    int m_spacing;
    int m_lineSpacing;
};

} // namespace plintex
