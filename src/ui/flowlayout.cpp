#include "ui/flowlayout.h"

#include <QWidget>

#include <algorithm>

namespace plintex {
namespace {

constexpr int kUnbounded = 1 << 24;

} // namespace

FlowLayout::FlowLayout(QWidget *parent, int spacing, int lineSpacing)
    : QLayout(parent), m_spacing(spacing), m_lineSpacing(lineSpacing)
{
}

FlowLayout::~FlowLayout()
{
    for (const Entry &e : std::as_const(m_entries))
        delete e.item;
}

void FlowLayout::add(QWidget *widget, Join join)
{
    m_joinPending = join == Join::WithPrevious;
    addChildWidget(widget);
    addItem(new QWidgetItem(widget));
}

void FlowLayout::addItem(QLayoutItem *item)
{
    m_entries.append({item, m_joinPending && !m_entries.isEmpty(), m_breakPending});
    m_joinPending = false;
    m_breakPending = false;
    invalidate();
}

QLayoutItem *FlowLayout::itemAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries[index].item : nullptr;
}

QLayoutItem *FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= m_entries.size())
        return nullptr;
    QLayoutItem *item = m_entries.takeAt(index).item;
    invalidate();
    return item;
}

int FlowLayout::heightForWidth(int width) const
{
    const QMargins m = contentsMargins();
    return arrange({}, width - m.left() - m.right(), false) + m.top() + m.bottom();
}

QSize FlowLayout::sizeHint() const
{
    const QMargins m = contentsMargins();
    int widest = 0;
    const int height = arrange({}, kUnbounded, false, &widest);
    return {widest + m.left() + m.right(), height + m.top() + m.bottom()};
}

QSize FlowLayout::minimumSize() const
{
    // As narrow as the widest set of joined items; as tall as one line.
    int widest = 0;
    int group = 0;
    for (const Entry &e : m_entries) {
        if (e.item->isEmpty())
            continue;
        const int w = e.item->minimumSize().width();
        group = e.joined ? group + m_spacing + w : w;
        widest = std::max(widest, group);
    }
    const QMargins m = contentsMargins();
    return {widest + m.left() + m.right(), sizeHint().height()};
}

void FlowLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const QRect inner = rect.marginsRemoved(contentsMargins());
    arrange(inner.topLeft(), inner.width(), true);
}

int FlowLayout::arrange(QPoint origin, int width, bool apply, int *widest) const
{
    struct Placed {
        QLayoutItem *item;
        QRect rect;
    };
    QList<Placed> line; // the items of the current line, placed once the line is complete
    int lineWidth = 0;
    int lineHeight = 0;
    int y = 0;
    int used = 0;
    const auto finishLine = [&] {
        if (line.isEmpty())
            return;
        if (apply) {
            for (const Placed &p : std::as_const(line)) {
                const int dy = (lineHeight - p.rect.height()) / 2;
                p.item->setGeometry(p.rect.translated(origin.x(), origin.y() + y + dy));
            }
        }
        used = std::max(used, lineWidth);
        y += lineHeight + m_lineSpacing;
        line.clear();
        lineWidth = lineHeight = 0;
    };

    for (qsizetype i = 0; i < m_entries.size();) {
        // A group: an item and the items joined to it.
        qsizetype end = i + 1;
        while (end < m_entries.size() && m_entries[end].joined)
            ++end;
        QList<Placed> group;
        int groupWidth = 0;
        for (qsizetype k = i; k < end; ++k) {
            QLayoutItem *item = m_entries[k].item;
            if (item->isEmpty())
                continue;
            const QSize hint = item->sizeHint().expandedTo(item->minimumSize());
            groupWidth += (group.isEmpty() ? 0 : m_spacing) + hint.width();
            group.append({item, QRect(QPoint(), hint)});
        }
        const bool breakBefore = m_entries[i].breakBefore;
        i = end;
        if (group.isEmpty())
            continue;
        if (!line.isEmpty() && (breakBefore || lineWidth + m_spacing + groupWidth > width))
            finishLine();
        // A lone item wider than the line takes the line's width and grows downwards.
        if (group.size() == 1 && groupWidth > width) {
            QLayoutItem *item = group.front().item;
            const int w = std::max(width, item->minimumSize().width());
            const int h =
                item->hasHeightForWidth() ? item->heightForWidth(w) : item->sizeHint().height();
            group.front().rect.setSize({w, h});
            groupWidth = w;
        }
        int x = line.isEmpty() ? 0 : lineWidth + m_spacing;
        for (Placed &p : group) {
            p.rect.moveLeft(x);
            x += p.rect.width() + m_spacing;
            lineHeight = std::max(lineHeight, p.rect.height());
            line.append(p);
        }
        lineWidth = x - m_spacing;
    }
    finishLine();
    if (widest)
        *widest = used;
    return y > 0 ? y - m_lineSpacing : 0;
}

} // namespace plintex
