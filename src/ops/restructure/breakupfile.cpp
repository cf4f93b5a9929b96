#include "ops/restructure/breakupfile.h"

#include "core/outputfile.h"
#include "ops/restructure/filestream.h"

#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

namespace plintex::restructure {
namespace {

const QString kInput = u"input"_s;
const QString kOutput = u"output"_s;
const QString kLength = u"length"_s;

/// Puts CR LF after every `length` bytes of what goes through it, counting across blocks, so a
/// record may be longer than a block (or than memory).
class RecordBreaker {
public:
    explicit RecordBreaker(qint64 length) : m_length(length) {}

    bool operator()(const char *block, qsizetype size, OutputFile &out)
    {
        // At most one CR LF per byte (L = 1), and one more for a record left open.
        m_out.resize(size_t(size) * 3 + 2);
        char *to = m_out.data();
        while (size > 0) {
            const qsizetype take = qsizetype(std::min<qint64>(m_length - m_column, size));
            std::memcpy(to, block, size_t(take));
            to += take;
            block += take;
            size -= take;
            m_column += take;
            if (m_column == m_length) {
                *to++ = '\r';
                *to++ = '\n';
                m_column = 0;
            }
        }
        return out.write(QByteArrayView(m_out.data(), to - m_out.data()));
    }

private:
    qint64 m_length;
    qint64 m_column = 0; ///< bytes of the current record written so far
    std::vector<char> m_out;
};

RunResult run(RunInput input, RunMonitor &monitor)
{
    const QString in = input.params.text(kInput);
    const QString out = input.params.text(kOutput);
    if (std::optional<RunResult> refusal = checkFileNames(in, out))
        return *refusal;
    const qint64 length = input.params.number(kLength);
    if (length == 0)
        return RunResult::refused(u"New CR terminated record length can not be 0."_s, false);
    RecordBreaker breaker(length);
    return streamFile(in, out, monitor, [&](char *block, qsizetype size, OutputFile &file) {
        return breaker(block, size, file);
    });
}

} // namespace

FunctionBody breakUpFile()
{
    return {
        .description = u"Copies a file to another file with a CR LF line break after every "
                       u"record of the given length in bytes."_s,
        .panel =
            {
                runButton(),
                Parameter{.key = kInput,
                          .label = u"Input (single record) file:"_s,
                          .kind = ParamKind::FileName},
                Parameter{.key = kOutput,
                          .label = u"Output file:"_s,
                          .kind = ParamKind::FileName,
                          .saveDialog = true},
                rowBreak(), // one row would not fit the window's starting width
                numberField(kLength, u"New CR terminated record length:"_s, u"0"_s, u"0"_s,
                            Reset::Keep),
            },
        .run = run,
        .example = {.title = u"Break up single record file (carrage return / line feed inserted "
                             u"after every 5th character)"_s,
                    .before = u"1234567890abcdefghij1234567890klmn"_s,
                    .after = u"12345\r\n67890\r\nabcde\r\nfghij\r\n12345\r\n67890\r\nklmn..."_s,
                    .params = {{kLength, u"5"_s}},
                    // The last record is written as it is: it has no line break.
                    .expected = u"12345\r\n67890\r\nabcde\r\nfghij\r\n12345\r\n67890\r\nklmn"_s},
        .readsText = false,
    };
}

} // namespace plintex::restructure
