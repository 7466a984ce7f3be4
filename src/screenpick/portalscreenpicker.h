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

    // Asks whether the bus carries a portal that picks colours and, if not,
    // what is missing; `answer` runs in `context`'s thread once it is known,
    // or with nothing when the portal did not answer within `timeout` ms.
    // The caller never waits.
    static void
    askAvailability(QDBusConnection bus, QObject* context,
                    std::function<void(const std::optional<screenpick::Availability>&)> answer,
                    int timeout = AnswerTimeout);
    // A portal being started answers in well under that.
    static constexpr int AnswerTimeout = 3000;

    void start() override;
    void cancel() override;
    bool isRunning() const override { return !mRequest.isEmpty(); }
    bool yieldsToNewStart() const override { return true; }

  private slots:
    void response(uint code, const QVariantMap& results);

  private:
    void listenTo(const QString& request);
    void stopListening();

    QDBusConnection mBus;
    QString mRequest;
};
