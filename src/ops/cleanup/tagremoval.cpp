#include "ops/cleanup/tagremoval.h"

namespace plintex::cleanup {

bool TagRemoval::row(qint64, PassRow &row, PassOutput &out)
{
    if (m_state == State::Done) {
        out.keep();
        return true;
    }
    QString &text = row.text();
    qsizetype from = 0;
    const bool joined = m_state == State::InTag;
    if (joined) {
        const qsizetype close = text.indexOf(u'>');
        if (close < 0) {
            m_tagRows.append(text);
            return true;
        }
        m_tagRows.clear();
        m_state = State::Scanning;
        from = close + 1;
    }

    bool changed = joined;
    qsizetype copied = from; // text[copied, at) is still to go into the output row
    // Each stretch is searched once for "<" and once for ">", at the speed of indexOf: a long
    // row with few tags is not walked a character at a time.
    const QStringView line(text);
    for (qsizetype at = from;;) {
        const qsizetype open = line.indexOf(u'<', at);
        // The first ">" from here: before the next "<" it ends the removal, after it it closes
        // that tag.
        const qsizetype close = line.indexOf(u'>', at);
        if (close >= 0 && (open < 0 || close < open)) {
            m_state = State::Done;
            break;
        }
        if (open < 0)
            break;
        m_kept.append(line.sliced(copied, open - copied));
        if (close < 0) {
            m_tagRows = {text.sliced(open)};
            m_state = State::InTag;
            return true;
        }
        changed = true;
        copied = close + 1;
        at = close + 1;
    }
    if (!changed) {
        m_kept.clear();
        out.keep();
        return true;
    }
    m_kept.append(QStringView(text).sliced(copied));
    text = std::exchange(m_kept, QString());
    out.keepRewritten();
    return true;
}

void TagRemoval::finish(PassOutput &out, RunResult &)
{
    if (m_state != State::InTag)
        return;
    // No ">" closed it: the tag's rows come back as they were.
    out.add(QString(m_kept + m_tagRows.front()));
    for (qsizetype i = 1; i < m_tagRows.size(); ++i)
        out.add(m_tagRows[i]);
}

} // namespace plintex::cleanup
