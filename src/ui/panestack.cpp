#include "ui/panestack.h"

#include "ui/textpane.h"

#include <QFontDatabase>
#include <QScrollBar>

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
    // The delimiter pane shows both scroll bars at all times.
    TextPane *delimiter = pane(Page::Delimiter);
    delimiter->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    delimiter->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(delimiter, &TextPane::textChanged, this, [this] { m_delimiterEdited = true; });
    setCurrentIndex(int(Page::WorkArea));
}

TextPane *PaneStack::pane(Page page) const
{
    return static_cast<TextPane *>(widget(int(page)));
}

void PaneStack::showPage(Page page)
{
    if (page == this->page())
        return;
    setCurrentIndex(int(page));
    Q_EMIT pageChanged(page);
}

TextPane *PaneStack::runTarget() const
{
    return pane(page() == Page::Delimiter ? Page::Delimiter : Page::WorkArea);
}

TextPane *PaneStack::visiblePane() const
{
    return static_cast<TextPane *>(currentWidget());
}

void PaneStack::handOverToDelimiter()
{
    TextPane *work = workArea();
    TextPane *delimiter = pane(Page::Delimiter);
    // The store is shared row by row, not copied: a text of any size goes over at once.
    delimiter->store() = work->store();
    delimiter->storeEdited();
    delimiter->moveCaretToOffset(work->selectionStart());
    m_handedOver = true;
    m_delimiterEdited = false;
    showPage(Page::Delimiter);
}

void PaneStack::showWorkArea()
{
    if (m_handedOver) {
        m_handedOver = false;
        TextPane *work = workArea();
        TextPane *delimiter = pane(Page::Delimiter);
        // A text left as it went over is not given back: the work area keeps its own edit
        // history and stays unmodified.
        if (m_delimiterEdited) {
            work->store() = delimiter->store();
            work->storeEdited();
        }
        work->moveCaretToOffset(delimiter->selectionStart());
        delimiter->setText(QString());
    }
    showPage(Page::WorkArea);
}

void PaneStack::goToLine(qsizetype lineIndex)
{
    TextPane *target = runTarget();
    target->moveCaretToOffset(target->store().offsetOfRow(lineIndex));
}

void PaneStack::toTop()
{
    runTarget()->moveCaretToOffset(0);
    runTarget()->setFocus();
}

void PaneStack::toBottom()
{
    runTarget()->moveCaretToOffset(runTarget()->store().length());
    runTarget()->setFocus();
}

} // namespace plintex
