#include "ops/cleanup/replacementlist.h"

#include "ops/lines/matcher.h"

namespace plintex::cleanup {

QList<Replacement> replacementsOf(const QStringList &listLines)
{
    QList<Replacement> list;
    for (const QString &line : listLines) {
        const qsizetype semicolon = line.indexOf(u';');
        if (semicolon > 0)
            list.append({line.first(semicolon), line.sliced(semicolon + 1)});
    }
    return list;
}

void applyReplacements(QStringList &lines, const QList<Replacement> &replacements)
{
    if (replacements.isEmpty())
        return;
    QStringList froms;
    std::vector<lines::Finder> finders;
    for (const Replacement &r : replacements) {
        froms.append(r.from);
        finders.emplace_back(r.from);
    }
    // Most lines hold none of the texts: one pass finds that, however long the list.
    const lines::SearchTexts any(froms);
    QString out;
    for (QString &line : lines) {
        if (!any.foundIn(line))
            continue;
        for (qsizetype i = 0; i < replacements.size(); ++i) {
            const lines::Finder &from = finders[size_t(i)];
            qsizetype at = from.in(line);
            if (at < 0)
                continue;
            out.clear();
            qsizetype done = 0;
            for (; at >= 0; at = from.in(line, done)) {
                out += QStringView(line).sliced(done, at - done);
                out += replacements[i].to;
                done = at + from.size();
            }
            out += QStringView(line).sliced(done);
            line = out;
        }
    }
}

} // namespace plintex::cleanup
