#include "cli/byterun.h"

#include "cli/textsurvey.h"
#include "settings/textfile.h"

namespace plintex::cli {

std::optional<QByteArray> runOnBytes(const FunctionBody &body, const ParamValues &params,
                                     QByteArrayView bytes)
{
    // Lines written back all get the text's first line end: only with a single kind, and
    // that one LF, do the bytes between the run's changes stay as writing gives them.
    if (!body.byteRun || bytes.contains('\r'))
        return std::nullopt;
    const TextFormat format = detectFormat(bytes);
    if (!isUtf8(format.encoding) && format.encoding != TextEncoding::Windows1252)
        return std::nullopt;
    const QByteArrayView bom = byteOrderMark(format.encoding);
    const QByteArrayView text = bytes.sliced(bom.size());
    std::optional<QByteArray> out = body.byteRun(
        text, isUtf8(format.encoding) ? RowEncoding::Utf8 : RowEncoding::Windows1252, params);
    if (!out)
        return std::nullopt;
    // Every line is written with a line end after it, the last one too.
    if (!text.isEmpty() && text.back() != '\n')
        out->append('\n');
    out->prepend(bom);
    return out;
}

} // namespace plintex::cli
