#include "app/commandline.h"

#include <QTest>

using commandline::Answer;

namespace {

enum class Outcome { Window, Help, Version, UsageError };

const QString Version = QStringLiteral(PALETTE_VERSION);
const QString Copyright = QStringLiteral(PALETTE_COPYRIGHT);

QString usageError(const QString& problem) {
    return QStringLiteral("color-palette: %1\nTry 'color-palette --help' for more information.\n")
        .arg(problem);
}

void verifyAnswer(const std::optional<Answer>& answer, Outcome outcome, const QString& error) {
    if (outcome == Outcome::Window) {
        QVERIFY(!answer.has_value());
        return;
    }
    QVERIFY(answer.has_value());
    switch (outcome) {
    case Outcome::Help:
        QCOMPARE(answer->status, 0);
        QVERIFY(answer->standardOutput.startsWith(QStringLiteral("Usage: color-palette ")));
        QVERIFY(answer->standardOutput.contains(QStringLiteral("--help")));
        QVERIFY(answer->standardOutput.contains(QStringLiteral("--version")));
        QCOMPARE(answer->standardError, QString());
        break;
    case Outcome::Version: {
        QCOMPARE(answer->status, 0);
        const QStringList lines = answer->standardOutput.split(QLatin1Char('\n'));
        QCOMPARE(lines.at(0), QStringLiteral("color-palette ") + Version);
        QCOMPARE(lines.at(1), Copyright);
        QCOMPARE(answer->standardError, QString());
        break;
    }
    case Outcome::UsageError:
        QCOMPARE(answer->status, 2);
        QCOMPARE(answer->standardOutput, QString());
        QCOMPARE(answer->standardError, error);
        break;
    case Outcome::Window:
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Outcome)

class CommandLineTest : public QObject {
    Q_OBJECT

  private slots:
    void beforeQtAnswersTheDoubleDashOptions_data();
    void beforeQtAnswersTheDoubleDashOptions();
    void afterQtNothingIsLeftToTake_data();
    void afterQtNothingIsLeftToTake();
};

void CommandLineTest::beforeQtAnswersTheDoubleDashOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("error");
    QTest::newRow("none") << QStringList() << Outcome::Window << QString();
    QTest::newRow("Qt's options are left to Qt")
        << QStringList{"-platform", "xcb", "-style", "Fusion", "-reverse"} << Outcome::Window
        << QString();
    QTest::newRow("an argument waits until Qt has taken its own")
        << QStringList{"picture.png"} << Outcome::Window << QString();
    QTest::newRow("help") << QStringList{"--help"} << Outcome::Help << QString();
    QTest::newRow("version") << QStringList{"--version"} << Outcome::Version << QString();
    QTest::newRow("help among Qt's options")
        << QStringList{"-style", "Fusion", "--help"} << Outcome::Help << QString();
    QTest::newRow("the first of version and help")
        << QStringList{"--version", "--help"} << Outcome::Version << QString();
    QTest::newRow("unknown") << QStringList{"--foo"} << Outcome::UsageError
                             << usageError(QStringLiteral("unknown option '--foo'"));
    QTest::newRow("unknown before help") << QStringList{"--foo", "--help"} << Outcome::UsageError
                                         << usageError(QStringLiteral("unknown option '--foo'"));
    QTest::newRow("help before unknown")
        << QStringList{"--help", "--foo"} << Outcome::Help << QString();
    QTest::newRow("help takes no value")
        << QStringList{"--help=all"} << Outcome::UsageError
        << usageError(QStringLiteral("unknown option '--help=all'"));
    QTest::newRow("no abbreviations") << QStringList{"--vers"} << Outcome::UsageError
                                      << usageError(QStringLiteral("unknown option '--vers'"));
    QTest::newRow("a lone double dash") << QStringList{"--"} << Outcome::UsageError
                                        << usageError(QStringLiteral("unknown option '--'"));
}

void CommandLineTest::beforeQtAnswersTheDoubleDashOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(Outcome, outcome);
    QFETCH(QString, error);
    verifyAnswer(commandline::answerBeforeQt(arguments), outcome, error);
}

void CommandLineTest::afterQtNothingIsLeftToTake_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("error");
    QTest::newRow("nothing left") << QStringList() << Outcome::Window << QString();
    QTest::newRow("a single-dash option Qt did not know")
        << QStringList{"-foo"} << Outcome::UsageError
        << usageError(QStringLiteral("unknown option '-foo'"));
    QTest::newRow("an argument") << QStringList{"picture.png"} << Outcome::UsageError
                                 << usageError(QStringLiteral("unexpected argument 'picture.png'"));
    QTest::newRow("the first of several")
        << QStringList{"picture.png", "-foo"} << Outcome::UsageError
        << usageError(QStringLiteral("unexpected argument 'picture.png'"));
    QTest::newRow("a lone dash is an argument")
        << QStringList{"-"} << Outcome::UsageError
        << usageError(QStringLiteral("unexpected argument '-'"));
}

void CommandLineTest::afterQtNothingIsLeftToTake() {
    QFETCH(QStringList, arguments);
    QFETCH(Outcome, outcome);
    QFETCH(QString, error);
    verifyAnswer(commandline::answerAfterQt(arguments), outcome, error);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
