#include "cli/streamrun.h"

#include "cli/lanes.h"
#include "cli/linereader.h"
#include "cli/passrows.h"
#include "cli/rowskip.h"
#include "cli/textsurvey.h"
#include "core/systemerror.h"
#include "core/windows1252.h"

#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <limits>

using namespace Qt::StringLiterals;

namespace plintex::cli {
namespace {

/// A stream copied whole into a temporary file, for a pass that must read the text twice.
std::unique_ptr<QTemporaryFile> spool(LineReader &reader, TextSource &source, QString *why)
{
    // QFile takes a short write for no error: the write's own reason is the one to give.
    const auto failed = [&](const QString &what, const QFile &file) {
        *why = u"cannot "_s + what + u" a temporary file: "_s +
               systemErrorOr(errno, file.errorString());
        return nullptr;
    };
    auto file = std::make_unique<QTemporaryFile>();
    errno = 0;
    if (!file->open())
        return failed(u"make"_s, *file);
    for (;;) {
        const QByteArrayView held = reader.held();
        if (held.isEmpty())
            break;
        errno = 0;
        if (file->write(held.data(), held.size()) != held.size())
            return failed(u"write"_s, *file);
        reader.skip(held.size());
        if (!reader.fill(1)) {
            *why = source.error();
            return {};
        }
    }
    errno = 0;
    if (!file->flush())
        return failed(u"write"_s, *file);
    return file;
}

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
    // The whole file read from its start; nothing when it cannot be.
    const auto surveyFromStart = [&] {
        return source.rewind() ? survey(source, limits.longestLine, false) : std::nullopt;
    };
    const auto surveyWhole = [&]() -> bool {
        const std::optional<Survey> s = surveyFromStart();
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
    // A file long enough is worked in pieces on two threads.
    const auto longEnoughForLanes = [&] {
        return rereadable && !isUtf16(format.encoding) && limits.lanePiece > 0 &&
               source.size() - bom >= 4 * limits.lanePiece;
    };
    const auto laneFailure = [&](const LaneResult &r) -> std::optional<StreamResult> {
        if (r.outcome == LaneResult::Outcome::TooLong)
            return failed(tooLong);
        if (r.outcome == LaneResult::Outcome::ReadFailed)
            return failed(r.why);
        if (r.outcome == LaneResult::Outcome::WriteFailed)
            return StreamResult{StreamResult::Outcome::WriteFailed, {}};
        return std::nullopt;
    };

    PassStart start{request.params, request.runButton, checkBand(request.restraint, lineCount),
                    request.caret};
    if (reset.to == 0 && lineCount == enough)
        start.band.band.to = PassStart::kToTheEnd;
    PassPlan plan = factory(start);
    // A pass that measures reads the text twice, and one that writes characters of its own
    // beyond ASCII would write them in another encoding than the rows, were the text not UTF-8
    // after all: either needs the whole text's encoding before it starts.
    const bool writesBeyondAscii =
        plan.pass && !std::all_of(plan.outputTexts.cbegin(), plan.outputTexts.cend(),
                                  [](const QString &t) { return isAscii(t.toUtf8()); });
    const bool mayWriteBeyondAscii = plan.pass && (plan.measure || writesBeyondAscii);
    // Measuring reads the whole text anyway: it settles the guess as it goes.
    const bool settleWhileMeasuring = guessing && plan.measure && !writesBeyondAscii;
    if (guessing && mayWriteBeyondAscii && !settleWhileMeasuring) {
        if (!surveyWhole())
            return failed(source.error());
        reader.setEncoding(format.encoding, hasCr);
    }
    // A stream whose look-ahead did not settle it is read whole into a file first, as one is
    // for a pass that measures.
    const bool unsettled = !rereadable && !reader.atEnd() && isUtf8(format.encoding);
    if (plan.pass && (plan.measure || (unsettled && mayWriteBeyondAscii))) {
        if (!rereadable) {
            QString why;
            const std::unique_ptr<QTemporaryFile> copy = spool(reader, source, &why);
            FileSource spooled;
            if (!copy || !spooled.open(copy->fileName()))
                return failed(copy ? spooled.error() : why);
            return streamPass(spooled, factory, request, write, progress, limits);
        }
        for (bool settled = !settleWhileMeasuring;; settled = true) {
            // A long file's rows that stand apart are measured in pieces on two threads.
            if (plan.measureApart && longEnoughForLanes()) {
                const LaneRun run{.source = source,
                                  .begin = bom,
                                  .output = {format, format.encoding, false},
                                  .mayHoldCr = hasCr,
                                  .piece = limits.lanePiece,
                                  .longestLine = limits.longestLine};
                const LaneResult measured = measureInLanes(run, plan.measureApart, !settled);
                if (const std::optional<StreamResult> failure = laneFailure(measured))
                    return *failure;
                guessing = false; // every row was read, and checked unless known UTF-8
                if (measured.outcome == LaneResult::Outcome::Done)
                    break;
                format.encoding = TextEncoding::Windows1252;
                reader.setEncoding(format.encoding, hasCr);
                plan = factory(start);
                continue;
            }
            LineReader measuring(source, limits.longestLine);
            measuring.setEncoding(format.encoding, hasCr);
            if (!source.rewind() || !measuring.fill(bom))
                return failed(source.error());
            measuring.skip(bom);
            measuring.readAhead();
            ReadRows rows(format.encoding);
            if (!settled)
                rows.checkUtf8();
            const LineReader::Status status = readThrough(measuring, *plan.measure, rows);
            if (status == LineReader::Status::TooLong)
                return failed(tooLong);
            if (status == LineReader::Status::Failed)
                return failed(source.error());
            if (!rows.notUtf8()) {
                // Unless the pass ended early, every row was found UTF-8.
                guessing = guessing && !(measuring.atEnd() && measuring.held().isEmpty());
                break;
            }
            guessing = false;
            // Not UTF-8 after all: measured afresh as what it is.
            format.encoding = TextEncoding::Windows1252;
            reader.setEncoding(format.encoding, hasCr);
            plan = factory(start);
        }
    }
    if (rereadable && (!source.rewind() || !reader.fill(bom)))
        return failed(source.error());
    if (!plan.pass) {
        if (!plan.result.done())
            return {StreamResult::Outcome::Refused, plan.result.message};
        // The text stays as it was: its bytes go out as they came, unless results replace it.
        while (plan.result.report.isEmpty()) {
            if (!reader.fill(1))
                return failed(source.error());
            const QByteArrayView held = reader.held();
            if (held.isEmpty())
                break;
            if (!write(held))
                return {StreamResult::Outcome::WriteFailed, {}};
            reader.skip(held.size());
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
    // A row that is only searched for texts in ASCII, kept as it came, or cut within its ASCII
    // start, is the same whether the guess holds or not: only the first row beyond ASCII that a
    // pass reads as characters (or as bytes of them) has the file surveyed. The rows before it
    // may hold bytes beyond ASCII that nothing judged, so the survey reads the whole file.
    bool settleFailed = false;
    if (guessing) {
        rows.settleBeforeUse([&] {
            reader.pause();
            const qint64 resume = reader.bytesRead();
            const std::optional<Survey> whole = surveyFromStart();
            if (!whole || !source.seek(resume)) {
                settleFailed = true;
                return;
            }
            if (!whole->utf8) {
                format.encoding = TextEncoding::Windows1252;
                output.input.encoding = output.encoding = format.encoding;
                reader.setEncoding(format.encoding, true);
            }
        });
    }
    // Rows the pass would keep as they came go through in runs, where a run's bytes are the
    // rows as they came: not in UTF-16, not written in another encoding.
    const AsciiBlockSearch &keepsWithout = plan.keepsRowsWithout;
    const auto inRuns = [&] {
        return keepsWithout && !isUtf16(format.encoding) &&
               output.encoding == output.input.encoding;
    };
    // A long file whose rows stand apart is worked in pieces on two threads.
    if ((plan.rowsApart || plan.rowsByIndex) && longEnoughForLanes()) {
        if (!flush()) // the byte-order mark
            return {StreamResult::Outcome::WriteFailed, {}};
        LaneRun run{.source = source,
                    .begin = bom,
                    .output = output,
                    .mayHoldCr = hasCr,
                    .piece = limits.lanePiece,
                    .longestLine = limits.longestLine,
                    .pass = plan.pass.get(),
                    .rewritesText = plan.rewritesText,
                    .keepsRowsWithout = keepsWithout,
                    .readsIndex = plan.rowsByIndex};
        if (guessing) {
            run.surveyUtf8 = [&]() -> std::optional<bool> {
                const std::optional<Survey> whole = surveyFromStart();
                return whole ? std::optional(whole->utf8) : std::nullopt;
            };
        }
        if (const std::optional<StreamResult> failure =
                laneFailure(runInLanes(run, write, progress)))
            return *failure;
        // Read on one thread, a file that grows is an error: so it is here.
        char after = 0;
        if (!source.seek(source.size()) || source.read(&after, 1) != 0)
            return failed(source.error());
    } else {
        reader.readAhead();
        QByteArrayView line;
        QByteArrayView lineBreak;
        for (qint64 index = 0;; ++index) {
            if (inRuns()) {
                index += keepRowsWithout(reader, keepsWithout, piece, StreamRows::kPieceSize,
                                         reader.mayBreakAtCr());
                if (piece.size() >= StreamRows::kPieceSize && !flush())
                    return {StreamResult::Outcome::WriteFailed, {}};
            }
            const LineReader::Status status = reader.next(line, lineBreak);
            if (status == LineReader::Status::End)
                break;
            if (status == LineReader::Status::TooLong)
                return failed(tooLong);
            if (status == LineReader::Status::Failed)
                return failed(source.error());
            rows.moveTo(line, lineBreak);
            if (!plan.pass->row(index, rows, rows))
                break;
            if (settleFailed)
                return failed(source.error());
            if (piece.size() >= StreamRows::kPieceSize && !flush())
                return {StreamResult::Outcome::WriteFailed, {}};
        }
    }
    plan.pass->finish(rows, plan.result);
    if (!plan.result.done())
        return {StreamResult::Outcome::Refused, plan.result.message};
    if (!flush())
        return {StreamResult::Outcome::WriteFailed, {}};
    return {.report = plan.result.report, .notices = plan.result.notices};
}

} // namespace plintex::cli
