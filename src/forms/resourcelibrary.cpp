#include "resourcelibrary.h"

#include "runtimeerror.h"

#include <QFile>
#include <QImageReader>

namespace forms::resources {

namespace {

QString resourcePath(const QString& name, PictureFormat format) {
    const QString suffix =
        format == PictureFormat::Bitmap ? QStringLiteral(".bmp") : QStringLiteral(".ico");
    return QStringLiteral(":/resources/") + name + suffix;
}

} // namespace

Picture loadResPicture(const QString& name, PictureFormat format) {
    const QString path = resourcePath(name, format);
    if (!QFile::exists(path)) {
        throw RuntimeError::resourceNotFound(name);
    }
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        throw RuntimeError::resourceNotFound(name);
    }
    if (format == PictureFormat::Bitmap) {
        return {Picture::Kind::Bitmap, image.convertToFormat(QImage::Format_RGB32)};
    }
    return {Picture::Kind::Icon, image.convertToFormat(QImage::Format_ARGB32)};
}

} // namespace forms::resources
