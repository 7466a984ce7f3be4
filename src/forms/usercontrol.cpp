#include "usercontrol.h"

#include "eventboundary.h"
#include "twips.h"

#include <QShowEvent>

#include <cmath>

namespace forms {

namespace {
int pixelsFromTwips(float twips) {
    return static_cast<int>(std::lround(twips / twips::TwipsPerPixel));
}
} // namespace

UserControl::UserControl(QWidget* parent) : FlatControl(parent) {}

float UserControl::widthTwips() const {
    return static_cast<float>(twips::fromPixels(width()));
}
float UserControl::heightTwips() const {
    return static_cast<float>(twips::fromPixels(height()));
}

void UserControl::setWidthTwips(float width) {
    const int pixels = pixelsFromTwips(width);
    if (pixels != this->width()) {
        resize(pixels, height());
    }
}

void UserControl::setHeightTwips(float height) {
    const int pixels = pixelsFromTwips(height);
    if (pixels != this->height()) {
        resize(width(), pixels);
    }
}

void UserControl::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        eventboundary::enter([this] { showNotification(); });
    }
}

void UserControl::resizeEvent(QResizeEvent* /*event*/) {
    eventboundary::enter([this] { resizeNotification(); });
}

} // namespace forms
