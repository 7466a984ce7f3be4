#include "screenpick/screenpicker.h"

#include "screenpick/portalscreenpicker.h"
#include "screenpick/x11screenpicker.h"

namespace screenpick {

namespace {

struct Replacement {
    Factory factory;
    Availability availability;
};

Replacement& replacement() {
    static Replacement current;
    return current;
}

// Asked once: the portal's answer does not change while the program runs.
const Availability& portalAvailability() {
    static const Availability answer =
        PortalScreenPicker::availability(QDBusConnection::sessionBus());
    return answer;
}

} // namespace

void ScreenPicker::notifyFinished(const std::optional<Pick>& pick) {
    if (onFinished) {
        onFinished(pick);
    }
}

void ScreenPicker::notifyRefused(const QString& reason) {
    mRefusal = reason;
    notifyFinished(std::nullopt);
}

Availability availability() {
    if (replacement().factory) {
        return replacement().availability;
    }
    if (X11ScreenPicker::isAvailable()) {
        return {true, {}};
    }
    return portalAvailability();
}

std::unique_ptr<ScreenPicker> create() {
    if (replacement().factory) {
        return replacement().factory();
    }
    if (X11ScreenPicker::isAvailable()) {
        return std::make_unique<X11ScreenPicker>();
    }
    if (portalAvailability().available) {
        return std::make_unique<PortalScreenPicker>();
    }
    return nullptr;
}

void setFactory(Factory factory, Availability availability) {
    replacement() = {std::move(factory), std::move(availability)};
}

} // namespace screenpick
