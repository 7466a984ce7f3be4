// The desktop portal's way of picking, against a fake portal (fakeportal.py)
// on a private session bus that activates nothing installed on the machine:
// the test runs inside dbus-run-session with the tests' own configuration.
#include "screenpick/portalscreenpicker.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QtTest>

namespace {

const QString Desktop = QStringLiteral("org.freedesktop.portal.Desktop");

bool portalOnBus() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(Desktop);
}

// The fake portal, running for as long as the object lives.
class FakePortal {
  public:
    explicit FakePortal(const QStringList& arguments) {
        mProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mProcess.start(QStringLiteral("/usr/bin/python3"),
                       QStringList{QStringLiteral(PALETTE_FAKE_PORTAL)} + arguments);
    }
    ~FakePortal() {
        mProcess.kill();
        mProcess.waitForFinished();
        QTRY_VERIFY(!portalOnBus());
    }
    bool ready() {
        return QTest::qWaitFor([] { return portalOnBus(); }, 10000);
    }

  private:
    QProcess mProcess;
};

// What the portal answers to availability, the test waiting for the answer
// while the event loop runs; nothing when it did not answer in time.
std::optional<screenpick::Availability> askAvailability(const QDBusConnection& bus, int timeout) {
    std::optional<std::optional<screenpick::Availability>> answer;
    QObject context;
    PortalScreenPicker::askAvailability(
        bus, &context, [&](const std::optional<screenpick::Availability>& said) { answer = said; },
        timeout);
    // The question never waits: it is answered from the event loop.
    if (bus.isConnected() && answer) {
        qFatal("the portal's availability was answered before the event loop ran");
    }
    if (!QTest::qWaitFor([&] { return answer.has_value(); }, timeout + 5000)) {
        qFatal("the portal's availability was never answered");
    }
    return *answer;
}

// The portal's way of picking, with what it answered and how often.
struct AnsweredPicker {
    AnsweredPicker() {
        picker.onFinished = [this](const std::optional<screenpick::Pick>& pick) {
            ++answers;
            answer = pick;
        };
    }
    PortalScreenPicker picker;
    int answers = 0;
    std::optional<screenpick::Pick> answer;
};

} // namespace

class PortalTest : public QObject {
    Q_OBJECT

  private slots:
    void thePortalAnswersAPickOrSaysWhatIsMissing_data();
    void thePortalAnswersAPickOrSaysWhatIsMissing();
    void withoutASessionBusNothingIsAsked();
    void aPortalThatHangsLeavesTheQuestionOpen();
};

void PortalTest::thePortalAnswersAPickOrSaysWhatIsMissing_data() {
    QTest::addColumn<QStringList>("portal"); // empty: none runs
    QTest::addColumn<QString>("missing");    // empty: available
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QRgb>("color");
    // Each channel of the answer lies where truncating would give one less.
    QTest::newRow("a colour, each channel rounded to the nearest")
        << QStringList{"2", "color", "0.5", "0.1", "0.999"} << QString() << true
        << qRgb(128, 26, 255);
    QTest::newRow("a colour, exactly")
        << QStringList{"3", "color", "0", "1", "0.2"} << QString() << true << qRgb(0, 255, 51);
    QTest::newRow("cancelled by the user")
        << QStringList{"2", "cancel"} << QString() << false << QRgb{0};
    QTest::newRow("a portal too old to pick colours")
        << QStringList{"1", "color", "1", "1", "1"} << "the desktop portal cannot pick colours"
        << false << QRgb{0};
    QTest::newRow("no portal") << QStringList{} << "no desktop portal (xdg-desktop-portal) runs"
                               << false << QRgb{0};
}

void PortalTest::thePortalAnswersAPickOrSaysWhatIsMissing() {
    QFETCH(QStringList, portal);
    QFETCH(QString, missing);
    QFETCH(bool, taken);
    QFETCH(QRgb, color);
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run the test in dbus-run-session");
    std::optional<FakePortal> fake;
    if (!portal.isEmpty()) {
        fake.emplace(portal);
        QVERIFY(fake->ready());
    }
    const std::optional<screenpick::Availability> availability =
        askAvailability(QDBusConnection::sessionBus(), PortalScreenPicker::AnswerTimeout);
    QVERIFY(availability.has_value());
    QCOMPARE(availability->missing, missing);
    QCOMPARE(availability->available, missing.isEmpty());
    if (!availability->available) {
        return;
    }
    AnsweredPicker answered;
    answered.picker.start();
    QVERIFY(answered.picker.isRunning());
    QTRY_COMPARE(answered.answers, 1);
    QVERIFY(!answered.picker.isRunning());
    QCOMPARE(answered.answer.has_value(), taken);
    if (taken) {
        QCOMPARE(answered.answer->color, color);
    }
    // A second pick is answered the same way, once; so is one by another
    // answered.picker, with a handle token of its own (the fake portal refuses one
    // it has seen).
    answered.picker.start();
    QTRY_COMPARE(answered.answers, 2);
    QCOMPARE(answered.answer.has_value(), taken);
    PortalScreenPicker another;
    another.onFinished = answered.picker.onFinished;
    another.start();
    QTRY_COMPARE(answered.answers, 3);
    QCOMPARE(answered.answer.has_value(), taken);
    if (taken) {
        QCOMPARE(answered.answer->color, color);
    }
}

void PortalTest::withoutASessionBusNothingIsAsked() {
    const QDBusConnection none = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("none"));
    const std::optional<screenpick::Availability> availability =
        askAvailability(none, PortalScreenPicker::AnswerTimeout);
    QVERIFY(availability.has_value());
    QVERIFY(!availability->available);
    QVERIFY2(availability->missing.contains(QStringLiteral("no session bus")),
             qPrintable(availability->missing));
}

// A portal that takes the calls and never answers: the availability is not
// known (so it is asked again, not taken as "no"), and a pick ends, cancelled,
// when its call times out, so that a later one can run.
void PortalTest::aPortalThatHangsLeavesTheQuestionOpen() {
    FakePortal fake({QStringLiteral("2"), QStringLiteral("silent")});
    QVERIFY(fake.ready());
    constexpr int Patience = 300;
    QVERIFY(!askAvailability(QDBusConnection::sessionBus(), Patience).has_value());

    AnsweredPicker answered;
    answered.picker.start();
    QVERIFY(answered.picker.isRunning());
    QTRY_COMPARE_WITH_TIMEOUT(answered.answers, 1, PortalScreenPicker::AnswerTimeout + 5000);
    QVERIFY(!answered.answer.has_value());
    QVERIFY(!answered.picker.isRunning());
}

QTEST_GUILESS_MAIN(PortalTest)
#include "tst_portal.moc"
