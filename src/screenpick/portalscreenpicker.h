#pragma once

#include "screenpick/screenpicker.h"

#include <QDBusConnection>
#include <QVariantMap>

// The desktop portal's way, where a program may not read the screen itself
// (Wayland): the desktop shows its own cross-hair and magnifier and answers
// the colour through org.freedesktop.portal.Screenshot.PickColor.
class PortalScreenPicker : public screenpick::ScreenPicker {
    Q_OBJECT

  public:
    explicit PortalScreenPicker(QDBusConnection bus = QDBusConnection::sessionBus());
    ~PortalScreenPicker() override;

    // Whether the bus carries a portal that picks colours; if not, what is
    // missing. Waits a few seconds at most for the portal to answer.
    static screenpick::Availability availability(QDBusConnection bus);

    void start() override;
    void cancel() override;
    bool isRunning() const override { return !mRequest.isEmpty(); }

  private slots:
    void response(uint code, const QVariantMap& results);

  private:
    void listenTo(const QString& request);
    void stopListening();

    QDBusConnection mBus;
    QString mRequest;
    int mStarted = 0;
};
