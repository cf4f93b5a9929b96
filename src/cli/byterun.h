#pragma once

#include "core/catalogue.h"

#include <QByteArray>

namespace plintex::cli {

/// Rewrites the bytes of a whole text in place by a function's run over them
/// (FunctionBody::byteRun), when the function has one and the text is fit for it (UTF-8 or
/// Windows-1252, every line break an LF), into what decoding the text, running the function on
/// its lines and writing them back would give. False, the bytes untouched, otherwise.
bool runOnBytes(const FunctionBody &body, const ParamValues &params, QByteArray &bytes);

} // namespace plintex::cli
