#include "flatcontrol.h"

#include "twips.h"

#include <QPaintEvent>
#include <QPainter>

namespace forms {

FlatControl::FlatControl(QWidget* parent) : QWidget(parent) {}

void FlatControl::setBackColor(ColorValue color) {
    mBackColor = validatedColor(color);
    backColorChanged();
    update();
}

void FlatControl::setForeColor(ColorValue color) {
    mForeColor = validatedColor(color);
    update();
}

void FlatControl::setBorder(bool border) {
    mBorder = border;
    update();
}

QRect FlatControl::clientRect() const {
    return mBorder ? rect().adjusted(1, 1, -1, -1) : rect();
}

void FlatControl::placeInTwips(int left, int top, int width, int height) {
    QPoint origin;
    if (const auto* container = dynamic_cast<const FlatControl*>(parentWidget())) {
        origin = container->clientRect().topLeft();
    }
    setGeometry(QRect(origin + twips::toPixels(left, top), twips::toPixelSize(width, height)));
}

void FlatControl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), resolved(mBackColor));
    painter.save();
    paintContent(painter, event->rect());
    painter.restore();
    if (mBorder) {
        // One logical pixel on each side, so it scales with the rest.
        const QColor line = palette().color(QPalette::Shadow);
        const QRect all = rect();
        painter.fillRect(QRect(all.left(), all.top(), all.width(), 1), line);
        painter.fillRect(QRect(all.left(), all.bottom(), all.width(), 1), line);
        painter.fillRect(QRect(all.left(), all.top(), 1, all.height()), line);
        painter.fillRect(QRect(all.right(), all.top(), 1, all.height()), line);
    }
}

void FlatControl::paintContent(QPainter& /*painter*/, const QRect& /*dirty*/) {}

} // namespace forms
