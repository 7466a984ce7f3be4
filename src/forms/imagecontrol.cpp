#include "forms/imagecontrol.h"

#include <QPainter>

namespace forms {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void ImageControl::setPicture(const Picture& picture) {
    mPicture = picture;
    update();
}

void ImageControl::paintEvent(QPaintEvent* /*event*/) {
    if (mPicture.isNone()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), mPicture.image());
}

} // namespace forms
