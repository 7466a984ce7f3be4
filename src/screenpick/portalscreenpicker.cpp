#include "screenpick/portalscreenpicker.h"

#include "screenpick/portalcolor.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString Path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Screenshot = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString Request = QStringLiteral("org.freedesktop.portal.Request");
// PickColor came with version 2 of the screenshot interface.
constexpr uint PickColorVersion = 2;
constexpr int AnswerTimeout = 3000; // ms; a portal being started answers in well under that
constexpr uint Success = 0;

// The request object the portal will answer on, known before the call so
// that no answer can come before we listen.
QString requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return Path + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

} // namespace

PortalScreenPicker::PortalScreenPicker(QDBusConnection bus) : mBus(std::move(bus)) {}

PortalScreenPicker::~PortalScreenPicker() {
    stopListening();
}

screenpick::Availability PortalScreenPicker::availability(QDBusConnection bus) {
    if (!bus.isConnected()) {
        return {false, QStringLiteral("there is no session bus (D-Bus) to reach the desktop "
                                      "portal")};
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        Service, Path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << Screenshot << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, AnswerTimeout);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        const bool noPortal =
            reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") ||
            reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner");
        return {false, noPortal ? QStringLiteral("no desktop portal (xdg-desktop-portal) runs")
                                : QStringLiteral("the desktop portal offers no screenshots")};
    }
    const uint version = qvariant_cast<QDBusVariant>(reply.arguments().front()).variant().toUInt();
    if (version < PickColorVersion) {
        return {false, QStringLiteral("the desktop portal cannot pick colours")};
    }
    return {true, {}};
}

void PortalScreenPicker::start() {
    if (isRunning()) {
        return;
    }
    const QString token = QStringLiteral("colorpalette%1").arg(++mStarted);
    listenTo(requestPath(mBus, token));
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, Path, Screenshot, QStringLiteral("PickColor"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto* watcher = new QDBusPendingCallWatcher(mBus.asyncCall(call, AnswerTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (!isRunning()) {
                    return;
                }
                if (reply.isError()) {
                    stopListening();
                    notifyFinished(std::nullopt);
                } else if (reply.value().path() != mRequest) {
                    // An older portal chooses the request object itself.
                    listenTo(reply.value().path());
                }
            });
}

void PortalScreenPicker::cancel() {
    if (!isRunning()) {
        return;
    }
    mBus.asyncCall(
        QDBusMessage::createMethodCall(Service, mRequest, Request, QStringLiteral("Close")));
    stopListening();
    notifyFinished(std::nullopt);
}

void PortalScreenPicker::listenTo(const QString& request) {
    stopListening();
    mRequest = request;
    mBus.connect(Service, mRequest, Request, QStringLiteral("Response"), this,
                 SLOT(response(uint, QVariantMap)));
}

void PortalScreenPicker::stopListening() {
    if (!mRequest.isEmpty()) {
        mBus.disconnect(Service, mRequest, Request, QStringLiteral("Response"), this,
                        SLOT(response(uint, QVariantMap)));
        mRequest.clear();
    }
}

void PortalScreenPicker::response(uint code, const QVariantMap& results) {
    stopListening();
    const auto color = results.value(QStringLiteral("color"));
    if (code != Success || !color.canConvert<QDBusArgument>()) {
        notifyFinished(std::nullopt);
        return;
    }
    double red = 0;
    double green = 0;
    double blue = 0;
    const auto argument = qvariant_cast<QDBusArgument>(color);
    argument.beginStructure();
    argument >> red >> green >> blue;
    argument.endStructure();
    notifyFinished(
        screenpick::Pick{screenpick::portalcolor::colorFromPortal(red, green, blue), {}});
}
