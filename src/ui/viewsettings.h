#pragma once

#include <QObject>

class QWidget;

namespace plintex {

class PaneStack;

/// How the window looks, from the preferences: the panes' font size and tab stops, the
/// background colour of every field, and whether hints (and tooltips) show.
class ViewSettings : public QObject {
    Q_OBJECT
public:
    ViewSettings(QWidget &window, PaneStack &panes);

    int fontSize() const { return m_fontSize; }
    void applyFontSize(int pointSize);
    void applyTabSpacing(int spacing);
    int colourIndex() const { return m_colourIndex; }
    void applyBackground(int colourIndex);

    bool hintsShown() const { return m_hintsShown; }
    void setHintsShown(bool shown) { m_hintsShown = shown; }

private:
    QWidget &m_window;
    PaneStack &m_panes;
    int m_fontSize;
    int m_tabSpacing = 0;
    int m_colourIndex = 0;
    bool m_hintsShown = false;
};

} // namespace plintex
