#include "forms/windowhandle.h"
#include "support/tarnwicksupport.h"
#include "testsupport.h"

#include <QApplication>
#include <QScreen>
#include <QTest>

using namespace tarnwick;

class SupportTest : public QObject {
    Q_OBJECT

  private slots:
    void hex4GivesEightUpperCaseDigits_data();
    void hex4GivesEightUpperCaseDigits();
    void formatVersionMatchesTheVersionBlock();
    void registerAppPathRecordsTheExecutable();
    void isInIdeAnswersFalse();
    void mainHandleIsTheApplication();
    void loadResIconGivesAnIconPicture();
    void loadResIconOfAMissingNameFails();
    void setWindowResIconAllGivesTheWindowItsBigIcon();
    void centerFormExCentresTheWindow();
    void everyFunctionCanBeMadeToFail_data();
    void everyFunctionCanBeMadeToFail();
    void checkTurnsAFailureIntoAnError();
};

void SupportTest::hex4GivesEightUpperCaseDigits_data() {
    QTest::addColumn<int32_t>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("red") << int32_t{0x000000FF} << QStringLiteral("000000FF");
    QTest::newRow("black") << int32_t{0} << QStringLiteral("00000000");
    QTest::newRow("white") << int32_t{0x00FFFFFF} << QStringLiteral("00FFFFFF");
    QTest::newRow("mixed letters") << int32_t{0x00ABCDEF} << QStringLiteral("00ABCDEF");
    QTest::newRow("minus one") << int32_t{-1} << QStringLiteral("FFFFFFFF");
    QTest::newRow("system colour") << int32_t(0x8000000F) << QStringLiteral("8000000F");
}

void SupportTest::hex4GivesEightUpperCaseDigits() {
    QFETCH(int32_t, value);
    QFETCH(QString, text);
    QString hex;
    QCOMPARE(tsHex4(value, hex), 0);
    QCOMPARE(hex, text);
}

void SupportTest::formatVersionMatchesTheVersionBlock() {
    QString text;
    QCOMPARE(tsFormatVersion(1, 0, 16, text), 0);
    QCOMPARE(text, QStringLiteral("1.00.0016"));
    QCOMPARE(tsFormatVersion(2, 5, 123, text), 0);
    QCOMPARE(text, QStringLiteral("2.05.0123"));
}

void SupportTest::registerAppPathRecordsTheExecutable() {
    QVERIFY(tsRegisterAppPath() >= 0);
    QCOMPARE(registeredAppPath(), QCoreApplication::applicationFilePath());
}

void SupportTest::isInIdeAnswersFalse() {
    int16_t inIDE = -1;
    QCOMPARE(tsIsInIDE(inIDE), 0);
    QCOMPARE(inIDE, int16_t{0});
}

void SupportTest::mainHandleIsTheApplication() {
    forms::windows::WindowHandle handle = 99;
    QCOMPARE(tsGetThunderMainHandle(handle), 0);
    QCOMPARE(handle, forms::windows::Application);
}

void SupportTest::loadResIconGivesAnIconPicture() {
    forms::Picture icon;
    QCOMPARE(tsLoadResIcon(QStringLiteral("IDI_DRAG"), icon), 0);
    QCOMPARE(icon.kind(), forms::Picture::Kind::Icon);
    QCOMPARE(icon.image().size(), QSize(32, 32));
}

void SupportTest::loadResIconOfAMissingNameFails() {
    forms::Picture icon;
    QVERIFY(tsLoadResIcon(QStringLiteral("NO_SUCH_ICON"), icon) < 0);
    QVERIFY(icon.isNone());
}

void SupportTest::setWindowResIconAllGivesTheWindowItsBigIcon() {
    QWidget window;
    const auto handle = forms::windows::handleOf(&window);
    QVERIFY(forms::windows::bigIcon(handle).isNone());
    QCOMPARE(tsSetWindowResIconAll(handle, QStringLiteral("A_MAIN")), 0);
    forms::Picture expected;
    tsLoadResIcon(QStringLiteral("A_MAIN"), expected);
    QCOMPARE(forms::windows::bigIcon(handle).image(), expected.image());
    QCOMPARE(tsSetWindowResIconAll(forms::windows::Application, QStringLiteral("A_MAIN")), 0);
    QVERIFY(!QApplication::windowIcon().isNull());
}

void SupportTest::centerFormExCentresTheWindow() {
    QWidget window;
    window.setFixedSize(200, 100);
    QCOMPARE(tsCenterFormEx(forms::windows::handleOf(&window)), 0);
    const QRect available = window.screen()->availableGeometry();
    QVERIFY(qAbs(window.geometry().center().x() - available.center().x()) <= 1);
    QVERIFY(qAbs(window.geometry().center().y() - available.center().y()) <= 1);
    QVERIFY(tsCenterFormEx(12345) < 0);
}

void SupportTest::everyFunctionCanBeMadeToFail_data() {
    QTest::addColumn<int>("function");
    for (int f = 0; f <= int(SupportFunction::FormatVersion); ++f) {
        QTest::newRow(functionName(SupportFunction(f))) << f;
    }
}

void SupportTest::everyFunctionCanBeMadeToFail() {
    QFETCH(int, function);
    SupportRecorder recorder;
    recorder.failOn(SupportFunction(function));
    QWidget window;
    const auto handle = forms::windows::handleOf(&window);
    forms::Picture picture;
    QString text;
    int16_t flag = 0;
    forms::windows::WindowHandle out = 0;
    const int32_t statuses[] = {
        tsRegisterAppPath(),         tsIsInIDE(flag),
        tsGetThunderMainHandle(out), tsSetWindowResIconAll(handle, QStringLiteral("A_MAIN")),
        tsCenterFormEx(handle),      tsLoadResIcon(QStringLiteral("A_MAIN"), picture),
        tsHex4(255, text),           tsFormatVersion(1, 0, 16, text),
    };
    for (int f = 0; f <= int(SupportFunction::FormatVersion); ++f) {
        QCOMPARE(statuses[f] < 0, f == function);
    }
}

void SupportTest::checkTurnsAFailureIntoAnError() {
    check(SupportFunction::Hex4, 0);
    check(SupportFunction::Hex4, 5);
    QVERIFY_THROWS_EXCEPTION(forms::RuntimeError, check(SupportFunction::Hex4, -1));
}

QTEST_MAIN(SupportTest)
#include "tst_support.moc"
