#include "ops/restructure/incrementing.h"

#include "ops/common/columns.h"
#include "ops/common/params.h"

#include <algorithm>
#include <memory>
#include <string>

using namespace Qt::StringLiterals;

namespace plintex::restructure {
namespace {

using common::kColumn;
using common::kStart;
const QString kStep = u"step"_s;
const QString kReplace = u"replace"_s;
const QString kLength = u"length"_s;
const QString kSymmetrical = u"symmetrical"_s;
const QString kCapitals = u"capitals"_s;

constexpr qint64 kLetterLabels = 26 + 26 * 26 + 26 * 26 * 26;

/// Where the labels go: at a column of every `step`-th row of the band, from its first, over
/// `replace` characters there.
struct Placement {
    qint64 column = 1;
    qint64 step = 1;
    qint64 replace = 0;

    explicit Placement(const ParamValues &params)
        : column(params.number(kColumn)), step(params.number(kStep)),
          replace(params.flag(kReplace) ? params.number(kLength) : 0)
    {
    }

    void put(QString &row, QStringView label) const
    {
        const qsizetype at = common::columnIndex(row, column);
        const qsizetype cut = qsizetype(std::min<qint64>(replace, row.size() - at));
        if (cut > 0)
            row.remove(at, common::wholeCharacterEdge(row, at + cut) - at);
        row.insert(at, label);
    }
};

/// The counter of the numbers as decimal digits, so that it counts on from a start of any
/// length without ever wrapping.
class NumberLabels {
public:
    /// `bandRows` is known once the rows have been counted; with `symmetrical` every number
    /// has at least as many digits as it.
    NumberLabels(QStringView start, bool symmetrical, std::shared_ptr<const qint64> bandRows)
        : m_symmetrical(symmetrical), m_bandRows(std::move(bandRows))
    {
        for (const QChar c : start) {
            if (c.isDigit() && c.unicode() < 128 && !(m_digits.empty() && c == u'0'))
                m_digits.push_back(char(c.unicode()));
        }
        if (m_digits.empty())
            m_digits.push_back('0');
    }

    bool next(std::string &label)
    {
        if (m_width < 0)
            m_width = m_symmetrical ? QString::number(*m_bandRows).size() : 0;
        label.assign(size_t(std::max<qsizetype>(m_width - qsizetype(m_digits.size()), 0)), '0');
        label += m_digits;
        // Add one: trailing nines become zeros and carry.
        std::size_t i = m_digits.size();
        while (i > 0 && m_digits[i - 1] == '9')
            m_digits[--i] = '0';
        if (i > 0) {
            ++m_digits[i - 1];
        } else { // all nines, now all zeros: a one in front of as many
            m_digits.push_back('0');
            m_digits[0] = '1';
        }
        return true;
    }

private:
    std::string m_digits;
    bool m_symmetrical;
    std::shared_ptr<const qint64> m_bandRows;
    qsizetype m_width = -1;
};

class LetterLabels {
public:
    explicit LetterLabels(bool capitals) : m_capitals(capitals) {}
    bool next(std::string &label)
    {
        label = letterLabel(m_taken, m_capitals).toStdString();
        ++m_taken;
        return !label.empty();
    }

private:
    bool m_capitals;
    qint64 m_taken = 0;
};

/// Puts a label at every `step`-th row of the band, from its first row. When the labels run
/// out the rest of the text stays as it is, and the run says so once.
template <typename Labels> class LabelPass final : public RowPass {
public:
    LabelPass(Labels labels, const RowRestraint &band, Placement at)
        : m_labels(std::move(labels)), m_next(band.from - 1), m_last(band.to - 1), m_at(at)
    {
    }
    Q_DISABLE_COPY_MOVE(LabelPass) // its byte transform refers to it

    bool row(qint64 index, PassRow &row, PassOutput &out) override
    {
        if (index != m_next || index > m_last) {
            out.keep();
            return true;
        }
        if (!m_labels.next(m_label)) {
            m_exhausted = true;
            m_next = -1;
            out.keep();
            return true;
        }
        if (!insertedAsBytes(out)) {
            m_at.put(row.text(), QString::fromLatin1(m_label.data(), qsizetype(m_label.size())));
            out.keepRewritten();
        }
        if (__builtin_add_overflow(m_next, m_at.step, &m_next))
            m_next = -1; // the next target lies beyond any text
        return true;
    }
    void finish(PassOutput &, RunResult &result) override
    {
        if (m_exhausted)
            result.notices.append(u"Three level maximum reached."_s);
    }

private:
    /// A label that only goes in goes into the row's bytes where the output takes them: its
    /// digits and letters are ASCII, the same bytes in either encoding.
    bool insertedAsBytes(PassOutput &out)
    {
        return m_at.replace == 0 && out.keepRewritten(m_insertBytes);
    }

    Labels m_labels;
    qint64 m_next;
    qint64 m_last;
    Placement m_at;
    std::string m_label; ///< in ASCII
    const ByteTransform m_insertBytes = [this](RowBytes row, QByteArray &out) {
        common::insertAtColumn(row, QByteArrayView(m_label.data(), qsizetype(m_label.size())),
                               m_at.column, out);
        return true;
    };
    bool m_exhausted = false;
};

template <typename Labels>
PassPlan labelPlan(const RowRestraint &band, const Placement &at, Labels labels)
{
    PassPlan plan;
    plan.pass = std::make_unique<LabelPass<Labels>>(std::move(labels), band, at);
    plan.result.writeBack(band);
    plan.result.caret = CaretPlacement::atLine(band.to - 1);
    plan.gauge = band;
    return plan;
}

PassPlan numbers(const PassStart &start)
{
    const Placement at(start.params);
    if (at.step == 0 || at.column == 0)
        return PassPlan::without(
            RunResult::refused(u"Zero start column / row position is invalid."_s));
    if (start.band.refusal)
        return PassPlan::without(*start.band.refusal);
    const RowRestraint &band = start.band.band;
    const bool symmetrical = start.params.flag(kSymmetrical);
    auto bandRows = std::make_shared<qint64>(band.to - band.from + 1);
    // A stream whose band runs to its end does not know its row count up front: the rows are
    // counted first when the width of the numbers depends on it.
    const bool count = symmetrical && band.to == PassStart::kToTheEnd;
    if (count)
        *bandRows = 1 - band.from;
    PassPlan plan =
        labelPlan(band, at, NumberLabels(start.params.text(kStart), symmetrical, bandRows));
    if (count) {
        plan.measure = passOf([bandRows](qint64, PassRow &, PassOutput &) {
            ++*bandRows;
            return true;
        });
    }
    return plan;
}

PassPlan letters(const PassStart &start)
{
    const Placement at(start.params);
    if (at.column == 0)
        return PassPlan::without(RunResult::refused(u"Zero start column position is invalid."_s));
    if (start.band.refusal)
        return PassPlan::without(*start.band.refusal);
    return labelPlan(start.band.band, at, LetterLabels(start.params.flag(kCapitals)));
}

/// "Replace (length):" and the length it unlocks, both cleared when the function is selected.
QList<PanelItem> replaceLength()
{
    Parameter length = numberField(kLength, {}, u"0"_s, u"0"_s);
    length.unlockedBy = kReplace;
    return {common::tickBox(kReplace, u"Replace (length):"_s, Reset::OnSelect), length};
}

Parameter stepField()
{
    return numberField(kStep, u"and in every:"_s, u"1"_s, u"1"_s);
}

} // namespace

QString letterLabel(qint64 index, bool capitals)
{
    if (index < 0 || index >= kLetterLabels)
        return {};
    // Counting from a in each place, with no zero: a .. z, then aa, as a counter of three
    // places that start empty.
    QString label;
    for (qint64 n = index + 1; n > 0; n = (n - 1) / 26)
        label.prepend(QChar(char16_t((capitals ? u'A' : u'a') + (n - 1) % 26)));
    return label;
}

FunctionBody insertIncrementingNumbers()
{
    QList<PanelItem> panel{
        runButton(),
        numberField(kStart, u"Insert this incrementing number:"_s, u"1"_s, u"1"_s),
        numberField(kColumn, u"at column position:"_s, u"1"_s, u"1"_s),
        stepField(),
        caption(u"row thereafter."_s),
        rowBreak(),
    };
    panel += replaceLength();
    panel.append(common::tickBox(kSymmetrical, u"Symmetrical #"_s));
    const QString row = u"aaaaaaaaaaaaa"_s;
    QString after;
    for (int i = 1; i <= 7; ++i)
        after += (i > 1 ? u"\r\n"_s : QString()) + u"aaaaaa"_s + QString::number(i) + u"aaaaaaa"_s;
    return {
        .description = u"Inserts a number counting up from a start value at a column of every "
                       u"N-th row of the row band, optionally over as many characters there."_s,
        .panel = panel,
        .rowPass = numbers,
        .menuTargets = {{MenuEntry::BeginColumn, kColumn, CaretSource::Column}},
        .example = {.title = u"Insert incrementing numbers (every nth row option available)"_s,
                    .before = QString(row + u"\r\n"_s).repeated(6) + row,
                    .after = after,
                    .params = {{kColumn, u"7"_s}}},
    };
}

FunctionBody insertIncrementingLetters()
{
    QList<PanelItem> panel{
        runButton(),
        numberField(kColumn, u"Insert incrementing letters at column position:"_s, u"1"_s, u"1"_s),
        stepField(),
        caption(u"row thereafter."_s),
        rowBreak(),
    };
    panel += replaceLength();
    panel.append(common::tickBox(kCapitals, u"Capital letters."_s));
    const QString row = u"1234567890"_s;
    QString after;
    for (char16_t c = u'a'; c <= u'g'; ++c)
        after += (c > u'a' ? u"\r\n"_s : QString()) + u"12345"_s + QChar(c) + u"67890"_s;
    return {
        .description = u"Inserts the letters a to z, then aa to zz and aaa to zzz, at a column of "
                       u"every N-th row of the row band, optionally over as many characters "
                       u"there."_s,
        .panel = panel,
        .rowPass = letters,
        .menuTargets = {{MenuEntry::BeginColumn, kColumn, CaretSource::Column}},
        .example = {.title = u"Insert incrementing letters (every nth row option available)"_s,
                    .before = QString(row + u"\r\n"_s).repeated(6) + row,
                    .after = after,
                    .params = {{kColumn, u"6"_s}}},
    };
}

} // namespace plintex::restructure
