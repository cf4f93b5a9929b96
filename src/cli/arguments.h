#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace plintex::cli {

/// An argument's bytes as the terminal typed them: in the locale's encoding. Bytes that are
/// not valid there are read as any text is, valid UTF-8 as UTF-8, anything else as
/// Windows-1252, so that no character becomes U+FFFD.
QString decodeArgument(QByteArrayView bytes);

/// The arguments after the program name.
QStringList decodeArguments(int argc, char **argv);

} // namespace plintex::cli
