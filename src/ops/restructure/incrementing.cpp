#include "ops/restructure/incrementing.h"

#include "ops/common/columns.h"
#include "ops/common/params.h"

#include <algorithm>
#include <atomic>
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

    /// The label of the `k`-th labelled row, from 0: the start and `k` added.
    bool at(qint64 k, std::string &label) const
    {
        // Each thread labels its rows in order: the label before, counted on by one, unless
        // it was another's or not the one before.
        // The width, too, is found once: the rows are counted before the first label.
        thread_local struct {
            quint64 labels = 0;
            qint64 k = -1;
            std::string digits;
            qsizetype width = 0;
        } last;
        if (last.labels == m_id && k == last.k + 1) {
            countOn(last.digits);
        } else {
            last.digits = m_digits;
            add(last.digits, k);
            last.width = 0;
            if (m_symmetrical) {
                for (qint64 rows = *m_bandRows; rows > 0 || last.width == 0; rows /= 10)
                    ++last.width;
            }
        }
        last.labels = m_id;
        last.k = k;
        label.assign(size_t(std::max<qsizetype>(last.width - qsizetype(last.digits.size()), 0)),
                     '0');
        label += last.digits;
        return true;
    }

private:
    /// Adds one: trailing nines become zeros and carry.
    static void countOn(std::string &digits)
    {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i > 0) {
            ++digits[i - 1];
        } else { // all nines, now all zeros: a one in front of as many
            digits.push_back('0');
            digits[0] = '1';
        }
    }
    static void add(std::string &digits, qint64 k)
    {
        for (std::size_t i = digits.size(); k > 0;) {
            if (i == 0) { // a carry out of the first digit: one more in front
                digits.insert(digits.begin(), '0');
                i = 1;
            }
            --i;
            const qint64 digit = (digits[i] - '0') + k % 10;
            k = k / 10 + digit / 10;
            digits[i] = char('0' + digit % 10);
        }
    }

    inline static std::atomic<quint64> s_made = 0;
    quint64 m_id = ++s_made; ///< copies share it, and their labels
    std::string m_digits;
    bool m_symmetrical;
    std::shared_ptr<const qint64> m_bandRows;
};

class LetterLabels {
public:
    explicit LetterLabels(bool capitals) : m_capitals(capitals) {}
    bool at(qint64 k, std::string &label) const
    {
        label = letterLabel(k, m_capitals).toStdString();
        return !label.empty();
    }

private:
    bool m_capitals;
};

/// Puts a label at every `step`-th row of the band, from its first row. When the labels run
/// out the rest of the text stays as it is, and the run says so once. A row's label follows
/// from its index alone: rows may be labelled on several threads at once.
template <typename Labels> class LabelPass final : public RowPass {
public:
    LabelPass(Labels labels, const RowRestraint &band, Placement at)
        : m_labels(std::move(labels)), m_first(band.from - 1), m_last(band.to - 1), m_at(at)
    {
    }
    Q_DISABLE_COPY_MOVE(LabelPass) // its byte transform refers to it

    bool row(qint64 index, PassRow &row, PassOutput &out) override
    {
        // With no step, only the band's first row.
        const qint64 k = index - m_first;
        if (k < 0 || index > m_last || (m_at.step > 0 ? k % m_at.step != 0 : k != 0)) {
            out.keep();
            return true;
        }
        std::string &label = rowLabel();
        if (!m_labels.at(m_at.step > 0 ? k / m_at.step : 0, label)) {
            m_exhausted.store(true, std::memory_order_relaxed);
            out.keep();
            return true;
        }
        if (m_at.replace != 0 || !out.keepRewritten(m_insertBytes)) {
            m_at.put(row.text(), QString::fromLatin1(label.data(), qsizetype(label.size())));
            out.keepRewritten();
        }
        return true;
    }
    void finish(PassOutput &, RunResult &result) override
    {
        if (m_exhausted.load(std::memory_order_relaxed))
            result.notices.append(u"Three level maximum reached."_s);
    }

private:
    /// The label of the row this thread is labelling, in ASCII.
    static std::string &rowLabel()
    {
        thread_local std::string label;
        return label;
    }

    Labels m_labels;
    qint64 m_first;
    qint64 m_last;
    Placement m_at;
    std::atomic<bool> m_exhausted = false;
    /// A label that only goes in goes into the row's bytes where the output takes them: its
    /// digits and letters are ASCII, the same bytes in either encoding.
    const ByteTransform m_insertBytes = [this](RowBytes bytes, QByteArray &to) {
        const std::string &label = rowLabel();
        common::insertAtColumn(bytes, QByteArrayView(label.data(), qsizetype(label.size())),
                               m_at.column, to);
        return true;
    };
};

template <typename Labels>
PassPlan labelPlan(const RowRestraint &band, const Placement &at, Labels labels)
{
    PassPlan plan;
    plan.pass = std::make_unique<LabelPass<Labels>>(std::move(labels), band, at);
    plan.result.writeBack(band);
    plan.result.caret = CaretPlacement::atLine(band.to - 1);
    plan.gauge = band;
    plan.rowsByIndex = true;
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
