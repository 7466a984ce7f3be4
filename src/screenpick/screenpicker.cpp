#include "screenpick/screenpicker.h"

#include "screenpick/portalscreenpicker.h"
#include "screenpick/x11screenpicker.h"

#include <QCoreApplication>
#include <QMap>

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

// What the portal has said so far. Its answer does not change while the
// program runs, so it is asked once it has answered; until then the pick is
// offered, and the question goes out again while none is under way.
struct PortalAnswer {
    std::optional<Availability> known;
    bool asking = false;
    QMap<int, std::function<void()>> watches;
    int lastWatch = 0;
};

PortalAnswer& portalAnswer() {
    static PortalAnswer answer;
    return answer;
}

void tellTheWatches() {
    // A watch may forget itself or others while told.
    const auto watches = portalAnswer().watches;
    for (const auto& changed : watches) {
        changed();
    }
}

void askThePortal() {
    PortalAnswer& answer = portalAnswer();
    if (answer.known || answer.asking) {
        return;
    }
    answer.asking = true;
    PortalScreenPicker::askAvailability(QDBusConnection::sessionBus(), QCoreApplication::instance(),
                                        [](const std::optional<Availability>& said) {
                                            PortalAnswer& answer = portalAnswer();
                                            answer.asking = false;
                                            if (!said) {
                                                return;
                                            }
                                            answer.known = said;
                                            if (!said->available) {
                                                tellTheWatches();
                                            }
                                        });
}

bool picksTheX11Way() {
    return !isWaylandSession() && X11ScreenPicker::isAvailable();
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

bool isWaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QStringLiteral("wayland");
}

Availability availability() {
    if (replacement().factory) {
        return replacement().availability;
    }
    if (picksTheX11Way()) {
        return {true, {}};
    }
    askThePortal();
    return portalAnswer().known.value_or(Availability{true, {}});
}

std::unique_ptr<ScreenPicker> create() {
    if (replacement().factory) {
        return replacement().factory();
    }
    if (picksTheX11Way()) {
        return std::make_unique<X11ScreenPicker>();
    }
    if (availability().available) {
        return std::make_unique<PortalScreenPicker>();
    }
    return nullptr;
}

int watchAvailability(std::function<void()> changed) {
    PortalAnswer& answer = portalAnswer();
    answer.watches.insert(++answer.lastWatch, std::move(changed));
    return answer.lastWatch;
}

void forgetWatch(int watch) {
    portalAnswer().watches.remove(watch);
}

void setFactory(Factory factory, Availability availability) {
    replacement() = {std::move(factory), std::move(availability)};
    tellTheWatches();
}

} // namespace screenpick
