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

void PortalScreenPicker::askAvailability(
    QDBusConnection bus, QObject* context,
    std::function<void(const std::optional<screenpick::Availability>&)> answer, int timeout) {
    if (!bus.isConnected()) {
        answer(screenpick::Availability{
            false, QStringLiteral("there is no session bus (D-Bus) to reach the desktop portal")});
        return;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        Service, Path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << Screenshot << QStringLiteral("version");
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(get, timeout), context);
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, context,
        [answer = std::move(answer)](QDBusPendingCallWatcher* finished) {
            finished->deleteLater();
            const QDBusMessage reply = finished->reply();
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                const uint version =
                    qvariant_cast<QDBusVariant>(reply.arguments().front()).variant().toUInt();
                answer(version >= PickColorVersion
                           ? screenpick::Availability{true, {}}
                           : screenpick::Availability{
                                 false, QStringLiteral("the desktop portal cannot pick colours")});
                return;
            }
            const QString error = reply.errorName();
            if (error == QStringLiteral("org.freedesktop.DBus.Error.NoReply") ||
                error == QStringLiteral("org.freedesktop.DBus.Error.Timeout")) {
                answer(std::nullopt);
                return;
            }
            const bool noPortal =
                error == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") ||
                error == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner");
            answer(screenpick::Availability{
                false, noPortal ? QStringLiteral("no desktop portal (xdg-desktop-portal) runs")
                                : QStringLiteral("the desktop portal offers no screenshots")});
        });
}

void PortalScreenPicker::start() {
    if (isRunning()) {
        return;
    }
    // Each request its own token, so that no answer is taken for another's.
    static int requests = 0;
    const QString token = QStringLiteral("colorpalette%1").arg(++requests);
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
