#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace plintex::testing {

/// Writes the bytes to a file, replacing it; false when that fails.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

/// A file's bytes, empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace plintex::testing
