#include "core/systemerror.h"

#include <cstring>

namespace plintex {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString systemErrorOr(int error, const QString &otherwise)
{
    return error != 0 ? systemError(error) : otherwise;
}

} // namespace plintex
