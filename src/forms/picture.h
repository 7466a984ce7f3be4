#pragma once

#include <QImage>
#include <QPixmap>

namespace forms {

// A picture object: a bitmap or an icon loaded from the resources. Held by
// value; assigning a new one to a property releases the old one.
class Picture {
  public:
    enum class Kind { None, Bitmap, Icon };

    Picture() = default;
    Picture(Kind kind, QImage image) : mKind(kind), mImage(std::move(image)) {}

    Kind kind() const { return mKind; }
    bool isNone() const { return mKind == Kind::None; }
    const QImage& image() const { return mImage; }
    QPixmap pixmap() const { return QPixmap::fromImage(mImage); }

  private:
    Kind mKind = Kind::None;
    QImage mImage;
};

} // namespace forms
