#include "ui/viewsettings.h"

#include "settings/preferences.h"
#include "ui/panestack.h"
#include "ui/textpane.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace plintex {
namespace {

/// Tooltips are hints too: they show only while "Show Hints" is on.
class TooltipGate : public QObject {
public:
    TooltipGate(const bool &hintsShown, QObject *parent) : QObject(parent), m_shown(hintsShown) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::ToolTip && !m_shown;
    }

private:
    const bool &m_shown;
};

} // namespace

ViewSettings::ViewSettings(QWidget &window, PaneStack &panes)
    : QObject(&window), m_window(window), m_panes(panes), m_fontSize(Preferences::kDefaultFontSize)
{
    qApp->installEventFilter(new TooltipGate(m_hintsShown, this));
    applyFontSize(m_fontSize);
}

void ViewSettings::applyFontSize(int pointSize)
{
    m_fontSize = pointSize;
    for (int i = 0; i < m_panes.count(); ++i) {
        auto *pane = static_cast<TextPane *>(m_panes.widget(i));
        QFont font = pane->font();
        font.setPointSize(pointSize);
        pane->setFont(font);
    }
    // Stops are measured in the font's characters: they follow the size.
    applyTabSpacing(m_tabSpacing);
}

void ViewSettings::applyTabSpacing(int spacing)
{
    m_tabSpacing = spacing;
    for (int i = 0; i < m_panes.count(); ++i) {
        auto *pane = static_cast<TextPane *>(m_panes.widget(i));
        // Stop k at k x spacing x 8 pixels; spacing 0 gives the narrowest stops, a dialog unit
        // apart.
        const qreal dialogUnit = std::max(1, pane->fontMetrics().averageCharWidth()) / 4.0;
        const qreal step = spacing > 0 ? spacing * 8.0 : std::max(1.0, dialogUnit);
        QList<qreal> stops;
        for (int k = 1; k <= 64; ++k)
            stops.append(k * step);
        pane->setTabStops(stops);
    }
}

void ViewSettings::applyBackground(int colourIndex)
{
    static const QColor colours[] = {QColor(255, 255, 255), QColor(255, 255, 208),
                                     QColor(240, 248, 184), QColor(240, 232, 168)};
    m_colourIndex = colourIndex;
    const QColor colour = colours[colourIndex & 3];
    // Every text field, numeric field and drop-down of the window, hidden ones included.
    const auto fields = m_window.findChildren<QWidget *>();
    for (QWidget *w : fields) {
        if (auto *pane = qobject_cast<TextPane *>(w)) {
            pane->setBackgroundColor(colour);
        } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w) ||
                   qobject_cast<QComboBox *>(w)) {
            QPalette palette = w->palette();
            palette.setColor(QPalette::Base, colour);
            w->setPalette(palette);
        }
    }
}

} // namespace plintex
