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
    qsizetype copied = from; // text[copied, i) is still to go into the output row
    const QChar *d = text.constData();
    for (qsizetype i = from; i < text.size(); ++i) {
        if (d[i] == u'>') {
            m_state = State::Done;
            break;
        }
        if (d[i] != u'<')
            continue;
        const qsizetype close = text.indexOf(u'>', i + 1);
        m_kept.append(QStringView(text).sliced(copied, i - copied));
        if (close < 0) {
            m_tagRows = {text.sliced(i)};
            m_state = State::InTag;
            return true;
        }
        changed = true;
        copied = close + 1;
        i = close;
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
