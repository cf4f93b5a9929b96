#include "ops/restructure/replacebyte.h"

#include "core/outputfile.h"
#include "ops/common/specialcharacters.h"
#include "ops/restructure/filestream.h"

using namespace Qt::StringLiterals;

namespace plintex::restructure {
namespace {

const QString kInput = u"input"_s;
const QString kOutput = u"output"_s;
const QString kFind = u"find"_s;
const QString kReplace = u"replace"_s;

Parameter byteList(QString key, QString label)
{
    return {.key = std::move(key),
            .label = std::move(label),
            .kind = ParamKind::FixedList,
            .hint = u"Choose a byte, or type one character"_s,
            .resetOnSelect = false,
            .entries = common::specialCharacterNames()};
}

QString notAByte(const QString &label, const QString &text)
{
    return label + u" \""_s + text +
           u"\" is no byte of the list.\rChoose an entry, or type "
           u"one character or a name such as {Hex 41}."_s;
}

void replaceBytes(unsigned char *bytes, qsizetype size, unsigned char from, unsigned char to)
{
    // Branch-free over pieces of a fixed size, which the compiler does many bytes at a time.
    constexpr qsizetype kPiece = 64;
    qsizetype i = 0;
    for (; i + kPiece <= size; i += kPiece) {
        unsigned char *piece = bytes + i;
        for (int k = 0; k < kPiece; ++k)
            piece[k] = piece[k] == from ? to : piece[k];
    }
    for (; i < size; ++i)
        bytes[i] = bytes[i] == from ? to : bytes[i];
}

RunResult run(RunInput input, RunMonitor &monitor)
{
    const QString in = input.params.text(kInput);
    const QString out = input.params.text(kOutput);
    if (std::optional<RunResult> refusal = checkFileNames(in, out))
        return *refusal;
    const QString findText = input.params.text(kFind);
    const QString replaceText = input.params.text(kReplace);
    if (findText.isEmpty() || replaceText.isEmpty())
        return RunResult::refused(u"Enter Find/Replace parameters."_s, false);
    const std::optional<unsigned char> find = common::byteOfText(findText);
    if (!find)
        return RunResult::refused(notAByte(u"Find:"_s, findText), false);
    const std::optional<unsigned char> replacement = common::byteOfText(replaceText);
    if (!replacement)
        return RunResult::refused(notAByte(u"Replace with:"_s, replaceText), false);

    return streamFile(
        in, out, monitor,
        [from = *find, to = *replacement](char *block, qsizetype size, OutputFile &file) {
            replaceBytes(reinterpret_cast<unsigned char *>(block), size, from, to);
            return file.write(QByteArrayView(block, size));
        });
}

} // namespace

FunctionBody replaceByteInFile()
{
    return {
        .description = u"Copies a file to another file with every byte of one value replaced by "
                       u"another."_s,
        .panel =
            {
                runButton(),
                Parameter{.key = kInput, .label = u"Input file:"_s, .kind = ParamKind::FileName},
                Parameter{.key = kOutput,
                          .label = u"Output file:"_s,
                          .kind = ParamKind::FileName,
                          .saveDialog = true},
                rowBreak(),
                byteList(kFind, u"Find:"_s),
                byteList(kReplace, u"Replace with:"_s),
            },
        .run = run,
        // The panel shows only the title; the run is shown on a file with a TAB.
        .example = {.title = u"Replace Byte in File"_s,
                    .params = {{kFind, u"{TAB}"_s}, {kReplace, u"{Hex 20}"_s}},
                    .input = u"Name\tCity\r\n"_s,
                    .expected = u"Name City\r\n"_s},
        .readsText = false,
    };
}

} // namespace plintex::restructure
