#include "cli/streamrun.h"

#include "cli/linereader.h"
#include "core/windows1252.h"

#include <QTemporaryFile>

#include <algorithm>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace plintex::cli {
namespace {

constexpr qsizetype kPieceSize = 128 << 10;

/// The bytes up to the last whole UTF-8 sequence: a piece may end inside one.
qsizetype wholeUtf8Prefix(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype back = 1; back <= std::min<qsizetype>(3, n); ++back) {
        const unsigned char c = p[n - back];
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead
        const qsizetype length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? n - back : n;
    }
    return n;
}

/// What a reading of a file tells: whether it is all UTF-8, whether it holds a CR, and its
/// start (up to its first line break, within reason) for the byte-order mark and the line end.
/// A reading of the start only leaves `complete` false and judges only what it read.
struct Survey {
    bool utf8 = true;
    bool hasCr = false;
    bool complete = false;
    QByteArray start;
};

/// Reads on from the source's position to its end, or (`startOnly`) until the start is known.
/// `ahead` holds bytes already read from before that position, taken first.
std::optional<Survey> survey(TextSource &source, qsizetype longestLine, bool startOnly,
                             QByteArrayView ahead = {})
{
    Survey s;
    // A UTF-16 unit such as U+0A00 holds a 0A byte: 64 KiB at least, whatever it holds.
    const auto startGrows = [&] {
        return s.start.size() < (64 << 10) || (s.start.size() <= longestLine &&
                                               !s.start.contains('\n') && !s.start.contains('\r'));
    };
    QByteArray piece;
    qsizetype carried = 0; // bytes of an unfinished UTF-8 sequence kept from the last piece
    for (bool first = true;; first = false) {
        constexpr qsizetype kSurveyPiece = 1 << 20;
        qsizetype n = ahead.size();
        if (first && n > 0) {
            piece = ahead.toByteArray();
        } else {
            piece.resize(carried + kSurveyPiece);
            n = source.read(piece.data() + carried, kSurveyPiece);
            if (n < 0)
                return std::nullopt;
        }
        const QByteArrayView fresh = QByteArrayView(piece).sliced(carried, n);
        if (startGrows())
            s.start.append(fresh);
        s.hasCr = s.hasCr || fresh.contains('\r');
        const QByteArrayView all = QByteArrayView(piece).first(carried + n);
        if (n == 0) {
            s.utf8 = s.utf8 && carried == 0;
            s.complete = true;
            return s;
        }
        if (s.utf8) {
            const qsizetype whole = wholeUtf8Prefix(all);
            s.utf8 = isValidUtf8(all.first(whole));
            carried = all.size() - whole;
            std::memmove(piece.data(), piece.constData() + whole, size_t(carried));
        }
        if (startOnly && !startGrows())
            return s;
    }
}

bool isAscii(QByteArrayView bytes)
{
    constexpr quint64 high = 0x8080808080808080ULL;
    quint64 any = 0;
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        any |= word;
    }
    for (; i < bytes.size(); ++i)
        any |= quint64(quint8(bytes[i]));
    return (any & high) == 0;
}

/// Lines in the lines view, counted up to `limit`: resolving the band needs no more.
/// Nothing when the count cannot be had (see `why`).
std::optional<qint64> countLines(LineReader &reader, qint64 limit, TextSource &source,
                                 const QString &tooLong, QString *why)
{
    qint64 lines = 0;
    QByteArrayView line;
    QByteArrayView lineBreak;
    while (lines < limit) {
        switch (reader.next(line, lineBreak)) {
        case LineReader::Status::Line:
            ++lines;
            continue;
        case LineReader::Status::End:
            return lines;
        case LineReader::Status::TooLong:
            *why = tooLong;
            return std::nullopt;
        case LineReader::Status::Failed:
            *why = source.error();
            return std::nullopt;
        }
    }
    return lines;
}

/// The same count over what a stream's look-ahead holds; nothing when it does not hold
/// enough lines and the stream goes on. `unfinished` receives the length of a line that the
/// look-ahead ends inside.
std::optional<qint64> countHeldLines(QByteArrayView held, bool atEnd, TextEncoding encoding,
                                     qint64 limit, qsizetype *unfinished)
{
    qint64 lines = 0;
    *unfinished = 0;
    for (qsizetype at = 0; at < held.size() && lines < limit;) {
        const LineSpan span = lineAt(held, at, encoding);
        if (span.next == span.end && !atEnd) {
            *unfinished = span.end - at;
            return std::nullopt;
        }
        ++lines;
        at = span.next;
    }
    if (lines < limit && !atEnd)
        return std::nullopt;
    return lines;
}

bool isUtf8(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8WithBom;
}

/// How the rows of a streamed text are written: in the input's encoding, unless the input is
/// Windows-1252 and the output must hold characters it cannot.
struct OutputFormat {
    TextFormat input;
    TextEncoding encoding;
    bool checkEachLine; ///< a UTF-8 stream, judged by its start only: a line may still not be
};

/// The rows of a text as a pass that only reads them sees them; it learns whether Windows-1252
/// holds every row the pass would put out.
class ReadRows final : public PassRow, public PassOutput {
public:
    explicit ReadRows(TextEncoding encoding) : m_encoding(encoding) {}
    void moveTo(QByteArrayView line)
    {
        m_line = line;
        m_decoded = false;
    }
    bool fits() const { return m_fits; }

    QString &text() override
    {
        if (!m_decoded) {
            decodeLineInto(m_text, m_line, m_encoding);
            m_decoded = true;
        }
        return m_text;
    }
    void keep() override {}
    void keepRewritten() override { m_fits = m_fits && windows1252::canEncode(text()); }
    void add(QStringView row) override { m_fits = m_fits && windows1252::canEncode(row); }
    void hold() override {}
    void releaseHeld(bool) override {}

private:
    TextEncoding m_encoding;
    QByteArrayView m_line;
    bool m_decoded = false;
    QString m_text;
    bool m_fits = true;
};

/// Runs `pass` over the rest of the reader's rows, putting nothing out (it ends early once a
/// row does not fit Windows-1252 when `untilUnfit`); End when all were read.
LineReader::Status readThrough(LineReader &reader, RowPass &pass, ReadRows &rows,
                               bool untilUnfit = false)
{
    QByteArrayView line;
    QByteArrayView lineBreak;
    for (qint64 index = 0;; ++index) {
        const LineReader::Status status = reader.next(line, lineBreak);
        if (status != LineReader::Status::Line)
            return status;
        rows.moveTo(line);
        if (!pass.row(index, rows, rows) || (untilUnfit && !rows.fits()))
            return LineReader::Status::End;
    }
}

/// Whether Windows-1252 holds every row a fresh plan's pass puts out; nothing when the text
/// cannot be read (too long a line counts as not fitting: the run proper ends on it).
std::optional<bool> allRowsFitWindows1252(LineReader &reader, PassPlan plan)
{
    ReadRows rows(TextEncoding::Windows1252);
    const LineReader::Status status = readThrough(reader, *plan.pass, rows, true);
    if (status == LineReader::Status::Failed)
        return std::nullopt;
    if (status == LineReader::Status::TooLong)
        return false;
    if (rows.fits())
        plan.pass->finish(rows, plan.result);
    return rows.fits();
}

/// A stream copied whole into a temporary file, for a pass that must read the text twice.
std::unique_ptr<QTemporaryFile> spool(LineReader &reader, TextSource &source, QString *why)
{
    auto file = std::make_unique<QTemporaryFile>();
    if (!file->open()) {
        *why = u"cannot make a temporary file: "_s + file->errorString();
        return {};
    }
    for (;;) {
        const QByteArrayView held = reader.held();
        if (held.isEmpty())
            break;
        if (file->write(held.data(), held.size()) != held.size()) {
            *why = u"cannot write a temporary file: "_s + file->errorString();
            return {};
        }
        reader.skip(held.size());
        if (!reader.fill(1)) {
            *why = source.error();
            return {};
        }
    }
    if (!file->flush()) {
        *why = u"cannot write a temporary file: "_s + file->errorString();
        return {};
    }
    return file;
}

/// QByteArray::append by way of its general insert costs more than the copy for a short line.
void appendBytes(QByteArray &out, QByteArrayView bytes)
{
    const qsizetype at = out.size();
    out.resize(at + bytes.size());
    std::memcpy(out.data() + at, bytes.data(), size_t(bytes.size()));
}

/// The current row of a stream as a pass sees it, and the pieces of output it leads to.
class StreamRows final : public PassRow, public PassOutput {
public:
    explicit StreamRows(const OutputFormat &format) : m_format(format)
    {
        m_piece.reserve(kPieceSize + 4096);
    }

    void moveTo(QByteArrayView line, QByteArrayView lineBreak)
    {
        m_line = line;
        m_break = lineBreak;
        m_decoded = false;
        m_asWindows1252 = m_format.checkEachLine && !isValidUtf8(line);
    }
    QByteArray &piece() { return m_piece; }

    QString &text() override
    {
        if (!m_decoded) {
            decodeLineInto(m_text, m_line,
                           m_asWindows1252 ? TextEncoding::Windows1252 : m_format.input.encoding);
            m_decoded = true;
        }
        return m_text;
    }
    void keep() override { keepInto(m_piece); }
    void keepRewritten() override
    {
        appendEncodedLine(m_piece, text(), rowEncoding());
        endRow(m_piece);
    }
    void add(QStringView row) override
    {
        appendEncodedLine(m_piece, row, m_format.encoding);
        m_piece.append(lineEndBytes(m_format.input.lineEnd, m_format.encoding));
    }
    void hold() override
    {
        m_held.resize(0);
        keepInto(m_held);
        m_holding = true;
    }
    void releaseHeld(bool keep) override
    {
        if (keep && m_holding)
            m_piece.append(m_held);
        m_holding = false;
    }

private:
    TextEncoding rowEncoding()
    {
        if (!m_asWindows1252)
            return m_format.encoding;
        return windows1252::canEncode(text()) ? TextEncoding::Windows1252 : TextEncoding::Utf8;
    }
    void keepInto(QByteArray &out)
    {
        if (m_format.encoding == m_format.input.encoding || m_asWindows1252)
            appendBytes(out, m_line);
        else
            appendEncodedLine(out, text(), m_format.encoding);
        endRow(out);
    }
    /// Every row keeps its own break; the last one gets one if it had none.
    void endRow(QByteArray &out)
    {
        if (isUtf16(m_format.input.encoding) && m_line.size() % 2 != 0)
            out.append(m_line.back()); // an odd last byte, kept as it came
        appendBytes(out, m_break.isEmpty() ? lineEndBytes(m_format.input.lineEnd, m_format.encoding)
                                           : m_break);
    }

    const OutputFormat &m_format;
    QByteArrayView m_line;
    QByteArrayView m_break;
    bool m_asWindows1252 = false;
    bool m_decoded = false;
    QString m_text;
    QByteArray m_piece;
    QByteArray m_held;
    bool m_holding = false;
};

} // namespace

StreamResult streamPass(TextSource &source, const RowPassFactory &factory,
                        const StreamRequest &request,
                        const std::function<bool(QByteArrayView)> &write,
                        const std::function<void(qint64)> &progress, StreamLimits limits)
{
    const auto failed = [&](const QString &why) {
        return StreamResult{StreamResult::Outcome::ReadFailed, why};
    };
    const QString tooLong = u"a line is longer than "_s +
                            QString::number(limits.longestLine >> 20) +
                            u" MiB, too long to run line by line"_s;

    // The band resolves the same against any count beyond its own rows (and From + 1, which
    // decides whether it is one). A band that runs to the end of the text is known exactly
    // while the text has at most twice From rows; a longer one runs to the end unknown, which
    // no pass needs to know before its end (a cap of To - From + 1 rows then cannot bind).
    const RowRestraint reset = resetRowTo(request.restraint);
    const qint64 from = std::min(reset.from, std::numeric_limits<qint64>::max() / 2 - 1);
    const qint64 enough =
        reset.to == 0 ? std::max(2 * from + 1, qint64(2)) : std::max(from + 1, reset.to);

    const bool rereadable = source.size() >= 0;
    LineReader reader(source, limits.longestLine);
    TextFormat format;
    bool hasCr = true;
    qint64 lineCount = 0;
    qsizetype bom = 0;
    // A file whose start is UTF-8 without a mark is read on the guess that all of it is, so
    // that it is read once rather than twice. Only a line that is not ASCII can belie the guess:
    // the first one found has the rest of the file surveyed, and the lines before it read the
    // same either way. A pass that writes characters of its own beyond ASCII, or reads the text
    // twice anyway, has the whole file surveyed first.
    bool guessing = false;
    const auto surveyWhole = [&]() -> bool {
        const std::optional<Survey> s =
            source.rewind() ? survey(source, limits.longestLine, false) : std::nullopt;
        if (!s)
            return false;
        format = detectFormatFromStart(s->start, s->utf8, source.size() % 2 == 0);
        hasCr = s->hasCr;
        guessing = false;
        return true;
    };
    if (rereadable) {
        const std::optional<Survey> s = survey(source, limits.longestLine, true);
        if (!s)
            return failed(source.error());
        format = detectFormatFromStart(s->start, s->utf8, source.size() % 2 == 0);
        hasCr = s->complete ? s->hasCr : true;
        guessing = !s->complete && format.encoding == TextEncoding::Utf8;
        if (!s->complete && format.encoding == TextEncoding::Utf8WithBom && !surveyWhole())
            return failed(source.error());
        bom = byteOrderMark(format.encoding).size();
        LineReader counter(source, limits.longestLine);
        counter.setEncoding(format.encoding, hasCr);
        QString why;
        std::optional<qint64> count;
        if (source.rewind() && counter.fill(bom)) {
            counter.skip(bom);
            count = countLines(counter, enough, source, tooLong, &why);
        } else {
            why = source.error();
        }
        if (!count)
            return failed(why);
        lineCount = *count;
    } else {
        if (!reader.fill(limits.lookAhead))
            return failed(source.error());
        const QByteArrayView held = reader.held();
        const bool utf8 = isValidUtf8(reader.atEnd() ? held : held.first(wholeUtf8Prefix(held)));
        format = detectFormatFromStart(held, utf8, !reader.atEnd() || held.size() % 2 == 0);
        bom = byteOrderMark(format.encoding).size();
        qsizetype unfinished = 0;
        const std::optional<qint64> count =
            countHeldLines(held.sliced(bom), reader.atEnd(), format.encoding, enough, &unfinished);
        if (!count && unfinished > limits.longestLine)
            return failed(tooLong);
        if (!count)
            return failed(u"the rows of the band are not within the first "_s +
                          QString::number(limits.lookAhead >> 20) +
                          u" MiB of standard input; give the text as a file"_s);
        lineCount = *count;
    }
    reader.setEncoding(format.encoding, hasCr);

    PassStart start{request.params, request.runButton, checkBand(request.restraint, lineCount)};
    if (reset.to == 0 && lineCount == enough)
        start.band.band.to = PassStart::kToTheEnd;
    PassPlan plan = factory(start);
    if (guessing && plan.pass &&
        (plan.measure || !std::all_of(plan.outputTexts.cbegin(), plan.outputTexts.cend(),
                                      [](const QString &t) { return isAscii(t.toUtf8()); }))) {
        if (!surveyWhole())
            return failed(source.error());
        reader.setEncoding(format.encoding, hasCr);
    }
    if (plan.pass && plan.measure) {
        if (!rereadable) {
            QString why;
            const std::unique_ptr<QTemporaryFile> copy = spool(reader, source, &why);
            FileSource spooled;
            if (!copy || !spooled.open(copy->fileName()))
                return failed(copy ? spooled.error() : why);
            return streamPass(spooled, factory, request, write, progress, limits);
        }
        LineReader measuring(source, limits.longestLine);
        measuring.setEncoding(format.encoding, hasCr);
        if (!source.rewind() || !measuring.fill(bom))
            return failed(source.error());
        measuring.skip(bom);
        ReadRows rows(format.encoding);
        const LineReader::Status status = readThrough(measuring, *plan.measure, rows);
        if (status == LineReader::Status::TooLong)
            return failed(tooLong);
        if (status == LineReader::Status::Failed)
            return failed(source.error());
    }
    if (rereadable && (!source.rewind() || !reader.fill(bom)))
        return failed(source.error());
    if (!plan.pass) {
        if (!plan.result.done())
            return {StreamResult::Outcome::Refused, plan.result.message};
        // The text stays as it was: its bytes go out as they came, unless results replace it.
        while (plan.result.report.isEmpty()) {
            const QByteArrayView held = reader.held();
            if (held.isEmpty())
                break;
            if (!write(held))
                return {StreamResult::Outcome::WriteFailed, {}};
            reader.skip(held.size());
            if (!reader.fill(1))
                return failed(source.error());
        }
        return {.report = plan.result.report, .notices = plan.result.notices};
    }
    reader.skip(bom);

    // A rewritten row is made of the input's characters and the pass's own texts, so these
    // tell whether Windows-1252 can still hold the output; if not, it is UTF-8.
    OutputFormat output{format, format.encoding, !rereadable && isUtf8(format.encoding)};
    if (output.encoding == TextEncoding::Windows1252) {
        for (const QString &text : std::as_const(plan.outputTexts)) {
            if (!windows1252::canEncode(text))
                output.encoding = TextEncoding::Utf8;
        }
    }
    // A file can be read again to find out whether those texts really come out, and so can a
    // stream held whole: the text stays Windows-1252 as long as every row it gets fits. (A
    // pass that measures first would need measuring again: it keeps to UTF-8.)
    const bool probe = output.encoding != format.encoding && !plan.measure;
    if (probe && !rereadable && reader.atEnd()) {
        MemorySource held(reader.held().toByteArray());
        LineReader probing(held, limits.longestLine);
        probing.setEncoding(format.encoding, hasCr);
        if (allRowsFitWindows1252(probing, factory(start)).value_or(false))
            output.encoding = format.encoding;
    } else if (probe && rereadable) {
        LineReader probing(source, limits.longestLine);
        probing.setEncoding(format.encoding, hasCr);
        std::optional<bool> fits;
        if (source.rewind())
            fits = allRowsFitWindows1252(probing, factory(start));
        if (!fits || !source.rewind() || !reader.fill(0))
            return failed(source.error());
        if (*fits)
            output.encoding = format.encoding;
    }
    StreamRows rows(output);
    QByteArray &piece = rows.piece();
    piece.append(byteOrderMark(format.encoding));
    const auto flush = [&] {
        const bool written = !plan.rewritesText || write(piece);
        piece.resize(0);
        if (progress)
            progress(reader.bytesRead());
        return written;
    };
    QByteArrayView line;
    QByteArrayView lineBreak;
    for (qint64 index = 0;; ++index) {
        const LineReader::Status status = reader.next(line, lineBreak);
        if (status == LineReader::Status::End)
            break;
        if (status == LineReader::Status::TooLong)
            return failed(tooLong);
        if (status == LineReader::Status::Failed)
            return failed(source.error());
        if (guessing && !isAscii(line)) {
            const qint64 resume = reader.bytesRead();
            const std::optional<Survey> rest =
                survey(source, limits.longestLine, false, reader.held());
            if (!rest || !source.seek(resume))
                return failed(source.error());
            guessing = false;
            if (!rest->utf8 || !isValidUtf8(line)) {
                format.encoding = TextEncoding::Windows1252;
                output.input.encoding = output.encoding = format.encoding;
                reader.setEncoding(format.encoding, true);
            }
        }
        rows.moveTo(line, lineBreak);
        if (!plan.pass->row(index, rows, rows))
            break;
        if (piece.size() >= kPieceSize && !flush())
            return {StreamResult::Outcome::WriteFailed, {}};
    }
    plan.pass->finish(rows, plan.result);
    if (!plan.result.done())
        return {StreamResult::Outcome::Refused, plan.result.message};
    if (!flush())
        return {StreamResult::Outcome::WriteFailed, {}};
    return {.report = plan.result.report, .notices = plan.result.notices};
}

} // namespace plintex::cli
