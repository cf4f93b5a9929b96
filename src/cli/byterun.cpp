#include "cli/byterun.h"

#include "cli/textsurvey.h"
#include "settings/textfile.h"

namespace plintex::cli {

bool runOnBytes(const FunctionBody &body, const ParamValues &params, QByteArray &bytes)
{
    // Lines written back all get the text's first line end: only with a single kind, and
    // that one LF, do the bytes between the run's changes stay as writing gives them.
    if (!body.byteRun || bytes.contains('\r'))
        return false;
    const TextFormat format = detectFormat(bytes);
    if (!isUtf8(format.encoding) && format.encoding != TextEncoding::Windows1252)
        return false;
    const qsizetype from = byteOrderMark(format.encoding).size();
    // Every line is written with a line end after it, the last one too.
    const bool unended = bytes.size() > from && bytes.back() != '\n';
    if (!body.byteRun(bytes, from,
                      isUtf8(format.encoding) ? RowEncoding::Utf8 : RowEncoding::Windows1252,
                      params))
        return false;
    if (unended)
        bytes.append('\n');
    return true;
}

} // namespace plintex::cli
