#include "ui/printing/outputfiledevice.h"

namespace plintex {

bool OutputFileDevice::openFile(const QString &path)
{
    return m_file.open(path) && open(QIODevice::WriteOnly);
}

qint64 OutputFileDevice::writeData(const char *data, qint64 size)
{
    if (m_failed || !m_file.write(QByteArrayView(data, size))) {
        m_failed = true;
        return -1;
    }
    return size;
}

bool OutputFileDevice::commit()
{
    close();
    if (!m_failed)
        return m_file.commit();
    m_file.discard();
    return false;
}

void OutputFileDevice::discard()
{
    close();
    m_file.discard();
}

} // namespace plintex
