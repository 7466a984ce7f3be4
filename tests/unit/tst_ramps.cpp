#include "forms/runtimeerror.h"
#include "palette/colorpalette.h"
#include "palette/colorramps.h"
#include "testsupport.h"

#include <QTest>

#include <algorithm>
#include <optional>

namespace {

using Result = std::optional<int32_t>;

} // namespace

Q_DECLARE_METATYPE(Result)

class RampsTest : public QObject {
    Q_OBJECT

  private slots:
    void everyPositionOfEveryBarMatches();
    void edgesOfTheRamps_data();
    void edgesOfTheRamps();
    void theControlAnswersWithTheSameRamps();
};

void RampsTest::everyPositionOfEveryBarMatches() {
    for (int bar = 0; bar < 7; ++bar) {
        for (int pos = 0; pos <= 512; ++pos) {
            const auto color = palette::ramps::colorAt(bar, pos);
            QVERIFY(color.has_value());
            if (static_cast<uint32_t>(*color) != expectedRampColor(bar, pos)) {
                QFAIL(qPrintable(
                    QStringLiteral("bar %1 pos %2: %3").arg(bar).arg(pos).arg(*color, 6, 16)));
            }
        }
    }
}

void RampsTest::edgesOfTheRamps_data() {
    QTest::addColumn<int>("bar");
    QTest::addColumn<int>("pos");
    QTest::addColumn<Result>("expected");
    QTest::addColumn<bool>("overflows");
    const auto colour = [](int32_t value) { return Result(value); };
    QTest::newRow("red 0 black") << 0 << 0 << colour(0) << false;
    QTest::newRow("red 255 pure") << 0 << 255 << colour(0x0000FF) << false;
    QTest::newRow("red 256 no repeat") << 0 << 256 << colour(0x0101FF) << false;
    QTest::newRow("red 509") << 0 << 509 << colour(0xFEFEFF) << false;
    QTest::newRow("red 510 white") << 0 << 510 << colour(0xFFFFFF) << false;
    QTest::newRow("red 512 white") << 0 << 512 << colour(0xFFFFFF) << false;
    QTest::newRow("blue in the third byte") << 2 << 255 << colour(0xFF0000) << false;
    QTest::newRow("yellow 128") << 3 << 128 << colour(0x008080) << false;
    QTest::newRow("cyan 300") << 4 << 300 << colour(0xFFFF2D) << false;
    QTest::newRow("magenta 256") << 5 << 256 << colour(0xFF01FF) << false;
    QTest::newRow("grey 1 black") << 6 << 1 << colour(0) << false;
    QTest::newRow("grey 255") << 6 << 255 << colour(0x7F7F7F) << false;
    QTest::newRow("grey 256") << 6 << 256 << colour(0x808080) << false;
    QTest::newRow("grey 512 white") << 6 << 512 << colour(0xFFFFFF) << false;
    QTest::newRow("grey -1 truncates to 0") << 6 << -1 << colour(0) << false;
    QTest::newRow("grey 65535 white") << 6 << 65535 << colour(0xFFFFFF) << false;
    QTest::newRow("grey 65536 overflows") << 6 << 65536 << Result() << true;
    QTest::newRow("grey -65537 is black") << 6 << -65537 << colour(0) << false;
    QTest::newRow("grey -65538 overflows") << 6 << -65538 << Result() << true;
    QTest::newRow("red 33022 white") << 0 << 33022 << colour(0xFFFFFF) << false;
    QTest::newRow("red 33023 overflows") << 0 << 33023 << Result() << true;
    QTest::newRow("green -32768 clamps to black") << 1 << -32768 << colour(0) << false;
    QTest::newRow("green -32769 overflows") << 1 << -32769 << Result() << true;
    QTest::newRow("bar 7 empty") << 7 << 100 << Result() << false;
    QTest::newRow("bar -1 empty") << -1 << 100 << Result() << false;
    QTest::newRow("bar 7 huge position, no error") << 7 << 2000000000 << Result() << false;
    QTest::newRow("bar -5 tiny position, no error") << -5 << -2000000000 << Result() << false;
}

void RampsTest::edgesOfTheRamps() {
    QFETCH(int, bar);
    QFETCH(int, pos);
    QFETCH(Result, expected);
    QFETCH(bool, overflows);
    try {
        const Result result = palette::ramps::colorAt(bar, pos);
        QVERIFY(!overflows);
        QCOMPARE(result, expected);
    } catch (const forms::RuntimeError& error) {
        QVERIFY2(overflows, qPrintable(error.text()));
        QCOMPARE(error.number(), 6);
    }
}

void RampsTest::theControlAnswersWithTheSameRamps() {
    const ColorPalette palette([] {});
    QCOMPARE(palette.GetColor(4, 300), Result(0xFFFF2D));
    QCOMPARE(palette.GetColor(9, 0), Result());
    QVERIFY_THROWS_EXCEPTION(forms::RuntimeError, palette.GetColor(0, 40000));
}

QTEST_MAIN(RampsTest)
#include "tst_ramps.moc"
