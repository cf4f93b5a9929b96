#include "ui/panestack.h"

#include "ui/textpane.h"

#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace plintex {

PaneStack::PaneStack(QWidget *parent) : QStackedWidget(parent)
{
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const struct {
        const char16_t *objectName;
        const char16_t *accessibleName;
    } pages[] = {{u"WorkArea", u"Work area"},
                 {u"ScratchPad", u"Scratch pad"},
                 {u"DelimiterPane", u"Delimiter pane"}};
    for (const auto &page : pages) {
        auto *pane = new TextPane(this);
        pane->setObjectName(QString::fromUtf16(page.objectName));
        pane->setAccessibleName(QString::fromUtf16(page.accessibleName));
        pane->setFont(fixed);
        addWidget(pane);
    }
    setCurrentIndex(int(Page::WorkArea));
}

TextPane *PaneStack::pane(Page page) const
{
    return static_cast<TextPane *>(widget(int(page)));
}

void PaneStack::showPage(Page page)
{
    setCurrentIndex(int(page));
}

TextPane *PaneStack::activePane() const
{
    return static_cast<TextPane *>(currentWidget());
}

void PaneStack::goToLine(qsizetype lineIndex)
{
    workArea()->moveCaretToOffset(workArea()->store().offsetOfRow(lineIndex));
}

void PaneStack::toTop()
{
    activePane()->moveCaretToOffset(0);
    activePane()->setFocus();
}

void PaneStack::toBottom()
{
    activePane()->moveCaretToOffset(activePane()->store().length());
    activePane()->setFocus();
}

} // namespace plintex
