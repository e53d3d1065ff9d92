#include "PictureFiles.h"

#include <QFile>
#include <QtEndian>

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

BmpHeader ParseBmpHeader(const QByteArray& file)
{
    BmpHeader h;
    if (file.size() < 54 || !file.startsWith("BM"))
        return h;
    const auto* b = reinterpret_cast<const uchar*>(file.constData());
    if (qFromLittleEndian<uint32_t>(b + 14) < 40)
        return h;
    h.width = qFromLittleEndian<int32_t>(b + 18);
    h.height = qFromLittleEndian<int32_t>(b + 22);
    h.bitCount = qFromLittleEndian<uint16_t>(b + 28);
    h.compression = qFromLittleEndian<uint32_t>(b + 30);
    h.coloursUsed = qFromLittleEndian<uint32_t>(b + 46);
    h.valid = true;
    return h;
}

int Grey(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y));
}
