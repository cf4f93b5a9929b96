#include "ops/restructure/concatenation.h"

#include "core/windows1252.h"
#include "ops/common/bytecolumns.h"
#include "ops/common/padding.h"
#include "ops/common/params.h"

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace plintex::restructure {
namespace {

const QString kLower = u"lower"_s;
const QString kRows = u"rows"_s;
const QString kSeparator = u"separator"_s;
const QString kSymmetrical = u"symmetrical"_s;
const QString kRight = u"right"_s;

/// How a line goes into a join: with "Symmetrical data." padded to the widest line of the text
/// (in front when right justified), and followed by the separator when asked.
struct Member {
    explicit Member(const ParamValues &params)
        : symmetrical(params.flag(kSymmetrical)), right(params.flag(kRight)),
          separator(common::separatorBlanks(params.number(kSeparator)))
    {
    }

    /// How wide the line comes out, blanks included.
    qsizetype width(QStringView line) const
    {
        return symmetrical ? std::max(widest, line.size()) : line.size();
    }

    void append(QString &out, QStringView line, bool separated) const
    {
        const qsizetype blanks = width(line) - line.size();
        if (right)
            out.resize(out.size() + blanks, u' ');
        out.append(line);
        if (!right)
            out.resize(out.size() + blanks, u' ');
        if (separated)
            out.append(separator);
    }

    bool symmetrical;
    bool right;
    QString separator;
    qsizetype widest = 0; ///< the widest line, once measured
};

RunResult vertical(RunInput input, RunMonitor &monitor)
{
    QStringList &lines = input.lines;
    const qsizetype n = lines.size();
    const qint64 lower = input.params.number(kLower);
    Member member(input.params);
    // The lines are the run's own copy, so a stop in either pass leaves the text as it was.
    monitor.begin(double(member.symmetrical ? 2 * n : n));
    qsizetype done = 0;
    if (member.symmetrical) {
        for (const QString &line : std::as_const(lines)) {
            if (monitor.step(double(done++)))
                return RunResult::stopped();
            member.widest = std::max(member.widest, line.size());
        }
    }
    // Row i + 1 is joined with row R + i, when the text has one. The rows are joined in place,
    // each only once it has served as a partner: from the top, as partners lie below (or are
    // the row itself), or from the bottom for R = 0, whose partners lie one row above.
    const bool upwards = lower == 0;
    for (qsizetype k = 0; k < n; ++k) {
        if (monitor.step(double(done++)))
            return RunResult::stopped();
        const qsizetype i = upwards ? n - 1 - k : k;
        const bool partnered = lower <= n && lower + i >= 1 && lower + i <= n;
        const QString none;
        const QString &partner = partnered ? lines[lower + i - 1] : none;
        QString joined;
        joined.reserve(member.width(lines[i]) + member.separator.size() +
                       (partnered ? member.width(partner) : 0));
        member.append(joined, lines[i], true);
        if (partnered)
            member.append(joined, partner, false);
        lines[i] = std::move(joined);
    }
    if (lower >= 1 && lower <= n + 1)
        lines.insert(lower - 1, u"---concat---"_s);
    RunResult result;
    result.lines = std::move(lines);
    return result;
}

/// Joins each group of rows into one as they come; the last group may be short. Without
/// padding, a group whose rows all came as bytes of one encoding is joined on the bytes, and
/// goes out as they are when the output takes them.
class HorizontalPass final : public RowPass {
public:
    HorizontalPass(std::shared_ptr<const Member> member, qint64 groupSize)
        : m_member(std::move(member)), m_groupSize(groupSize),
          m_separator(m_member->separator.toLatin1()) // blanks
    {
    }

    bool row(qint64, PassRow &row, PassOutput &out) override
    {
        // Rows joined by blanks are the same bytes whatever a guessed encoding proves: a row of
        // a text read as UTF-8 on a guess needs no verdict to be copied.
        const std::optional<RowBytes> bytes =
            m_member->symmetrical ? std::nullopt : row.guessedBytes();
        if (bytes && (m_members == 0 || (m_inBytes && bytes->encoding == m_encoding))) {
            m_inBytes = true;
            m_encoding = bytes->encoding;
            appendBytes(m_bytes, bytes->bytes);
            appendBytes(m_bytes, m_separator);
        } else {
            toCharacters();
            m_member->append(m_group, row.text(), true);
        }
        if (++m_members == m_groupSize)
            put(out);
        return true;
    }
    void finish(PassOutput &out, RunResult &) override
    {
        if (m_members > 0)
            put(out);
    }

private:
    void toCharacters()
    {
        if (!m_inBytes)
            return;
        m_group = m_encoding == RowEncoding::Utf8 ? QString::fromUtf8(m_bytes)
                                                  : windows1252::decode(m_bytes);
        m_bytes.resize(0);
        m_inBytes = false;
    }
    void put(PassOutput &out)
    {
        if (!m_inBytes || !out.addBytes({m_bytes, m_encoding})) {
            toCharacters();
            out.add(m_group);
        }
        // Their storage serves the next group.
        m_group.resize(0);
        m_bytes.resize(0);
        m_inBytes = false;
        m_members = 0;
    }

    std::shared_ptr<const Member> m_member;
    qint64 m_groupSize;
    QByteArray m_separator;
    qint64 m_members = 0;
    QString m_group;
    QByteArray m_bytes;
    RowEncoding m_encoding = RowEncoding::Utf8;
    bool m_inBytes = false;
};

PassPlan horizontal(const PassStart &start)
{
    const qint64 groupSize = start.params.number(kRows);
    if (groupSize < 2)
        return PassPlan::without(RunResult::refused(u"Row position must be greater than 1."_s));
    auto member = std::make_shared<Member>(start.params);
    PassPlan plan;
    plan.pass = std::make_unique<HorizontalPass>(member, groupSize);
    if (member->symmetrical) {
        plan.measure = passOf([member](qint64, PassRow &row, PassOutput &) {
            member->widest = std::max(member->widest, row.text().size());
            return true;
        });
    }
    return plan;
}

Parameter separatorField()
{
    return numberField(kSeparator, u"separated by:"_s, u"0"_s, u"0"_s);
}

} // namespace

FunctionBody verticalConcatenation()
{
    return {
        .description = u"Joins line 1 with a lower row R, line 2 with row R + 1, and so on, side "
                       u"by side, and puts a marker line where the lower block begins."_s,
        .panel =
            {
                runButton(),
                numberField(kLower,
                            u"Vertically concatenate starting at row 1 with beginning lower row:"_s,
                            u"1"_s, u"1"_s),
                separatorField(),
                caption(u"blanks."_s),
                rowBreak(),
                common::tickBox(kSymmetrical, u"Symmetrical data."_s),
                common::tickBox(kRight, u"Right justify."_s),
            },
        .run = vertical,
        .menuTargets = {{MenuEntry::BeginRow, kLower, CaretSource::Row}},
        .example = {.title = u"Vertical column concatenation (concatenate columns 5 through 7 "
                             u"with column 1)"_s,
                    .before = u"Line1\r\nLine2\r\nLine3\r\nLine4\r\nLine5\r\nLine6\r\nLine7"_s,
                    .after = u"Line1     Line5\r\nLine2     Line6\r\nLine3     Line7\r\nLine4"_s,
                    .params = {{kLower, u"5"_s}, {kSeparator, u"5"_s}},
                    // The panel leaves out the marker line and the lower block below it.
                    .expected = u"Line1     Line5\nLine2     Line6\nLine3     Line7\nLine4     \n"
                                u"---concat---\nLine5     \nLine6     \nLine7     \n"_s},
    };
}

FunctionBody horizontalConcatenation()
{
    return {
        .description = u"Joins every group of N consecutive lines into one line."_s,
        .panel =
            {
                runButton(),
                numberField(kRows, u"Horizontally concatenate row 1 through row:"_s, u"2"_s,
                            u"2"_s),
                separatorField(),
                caption(u"blanks."_s),
                rowBreak(),
                common::tickBox(kSymmetrical, u"Symmetrical data."_s),
                common::tickBox(kRight, u"Right justify."_s),
            },
        .rowPass = horizontal,
        .menuTargets = {{MenuEntry::BeginRow, kRows, CaretSource::Row}},
        .example = {.title = u"Horizontal column concatenation (concatenate each group of three "
                             u"rows horizontally)"_s,
                    .before = u"Line1\r\nLine2\r\nLine3\r\nLine4\r\nLine5\r\nLine6\r\nLine7 "_s,
                    .after = u"Line1   Line2   Line3\r\nLine4   Line5   Line6\r\nLine7"_s,
                    .params = {{kRows, u"3"_s}, {kSeparator, u"3"_s}},
                    // The panel's last row ends in a blank for show; every member of a group is
                    // followed by the separator, the last one too.
                    .input = u"Line1\nLine2\nLine3\nLine4\nLine5\nLine6\nLine7\n"_s,
                    .expected =
                        u"Line1   Line2   Line3   \nLine4   Line5   Line6   \nLine7   \n"_s},
    };
}

} // namespace plintex::restructure
