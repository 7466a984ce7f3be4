#include "forms/resourcelibrary.h"

#include "forms/runtimeerror.h"

#include <QFile>
#include <QtEndian>

namespace forms::resources {

namespace {

// Pictures are carried as raw pixels, so loading one needs no image plugin:
// width and height as 32-bit little-endian words, then one 0xAARRGGBB word
// per pixel, top row first.
constexpr qsizetype HeaderBytes = 8;
constexpr quint32 LargestSide = 4096;

QString resourcePath(const QString& name, PictureFormat format) {
    const QString folder =
        format == PictureFormat::Bitmap ? QStringLiteral("bitmap/") : QStringLiteral("icon/");
    return QStringLiteral(":/resources/") + folder + name + QStringLiteral(".argb");
}

QImage rawImage(const QByteArray& data) {
    if (data.size() < HeaderBytes) {
        return {};
    }
    const auto* words = reinterpret_cast<const uchar*>(data.constData());
    const quint32 width = qFromLittleEndian<quint32>(words);
    const quint32 height = qFromLittleEndian<quint32>(words + 4);
    if (width == 0 || height == 0 || width > LargestSide || height > LargestSide ||
        data.size() != HeaderBytes + qsizetype{4} * width * height) {
        return {};
    }
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32);
    const uchar* pixel = words + HeaderBytes;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x, pixel += 4) {
            line[x] = qFromLittleEndian<quint32>(pixel);
        }
    }
    return image;
}

} // namespace

Picture loadResPicture(const QString& name, PictureFormat format) {
    QFile file(resourcePath(name, format));
    if (!file.open(QIODevice::ReadOnly)) {
        throw RuntimeError::resourceNotFound(name);
    }
    const QImage image = rawImage(file.readAll());
    if (image.isNull()) {
        throw RuntimeError::resourceNotFound(name);
    }
    if (format == PictureFormat::Bitmap) {
        return {Picture::Kind::Bitmap, image.convertToFormat(QImage::Format_RGB32)};
    }
    return {Picture::Kind::Icon, image};
}

} // namespace forms::resources
