// libFuzzer target: the reader must survive any bytes, and whatever text it returns must come
// back unchanged through the writer.
#include "settings/rtf.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    (void)plintex::isRtf(bytes);
    const QString text = plintex::readRtfText(bytes);

    // Let the input pick the font too, so that odd family names get their share.
    const QString family = text.left(16);
    const int pointSize = int(size % 200) - 20;
    const QByteArray rtf = plintex::writeRtf(text, family, pointSize);
    if (!plintex::isRtf(rtf) || plintex::readRtfText(rtf) != text)
        std::abort();
    return 0;
}
