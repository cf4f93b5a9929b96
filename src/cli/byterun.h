#pragma once

#include "core/catalogue.h"

#include <QByteArray>

#include <optional>

namespace plintex::cli {

/// What a function's run over the bytes of a whole text (FunctionBody::byteRun) writes, when the
/// function has one and the text is fit for it (UTF-8 or Windows-1252, every line break an LF):
/// the bytes that decoding the text, running the function on its lines and writing them back
/// would give. Nothing otherwise.
std::optional<QByteArray> runOnBytes(const FunctionBody &body, const ParamValues &params,
                                     QByteArrayView bytes);

} // namespace plintex::cli
