#include "app/frmmain.h"
#include "app/modmain.h"
#include "forms/aboutdialog.h"
#include "forms/eventboundary.h"
#include "forms/shellabout.h"
#include "testsupport.h"

#include <QTest>

using tarnwick::SupportFunction;

namespace {

struct AboutCall {
    forms::windows::WindowHandle owner;
    QString appText;
    QString otherText;
    forms::Picture icon;
};

// Replaces the modal about box with a recorder for the test's lifetime.
class AboutRecorder {
  public:
    AboutRecorder() {
        forms::shellabout::setPresenter([this](forms::windows::WindowHandle owner,
                                               const QString& appText, const QString& otherText,
                                               const forms::Picture& icon) {
            calls.push_back({owner, appText, otherText, icon});
        });
    }
    ~AboutRecorder() { forms::shellabout::setPresenter({}); }
    std::vector<AboutCall> calls;
};

const QString AboutAppText = QStringLiteral("О программе#Tarnwick - Kelvary");
const QString AboutOtherText = QStringLiteral("    Версия 1.00.0016\r\n    Посвящается Зорвель");

} // namespace

class AppTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup();
    void startUpMakesTheSupportCallsInOrder();
    void aFailingSupportCallStopsStartUpThere_data();
    void aFailingSupportCallStopsStartUpThere();
    void theMainWindowIsCentredFixedAndCaptioned();
    void keysAreHandledOnlyWithTheExactMask_data();
    void keysAreHandledOnlyWithTheExactMask();
    void aboutBoxCarriesTheTextsAndTheWindowIcon();
    void aboutBoxIsNotShownWhenTheVersionCannotBeFormatted();
    void aboutDialogSplitsTitleAndFirstLine();
    void aboutDialogFallsBackToTheDefaultIcon();
};

void AppTest::cleanup() {
    releaseFrmMain();
}

void AppTest::startUpMakesTheSupportCallsInOrder() {
    SupportRecorder support;
    modMain::Main();
    QVERIFY(isFrmMainLoaded());
    QVERIFY(frmMain().isVisible());
    const QStringList expected = {
        QStringLiteral("tsRegisterAppPath"),      QStringLiteral("tsIsInIDE"),
        QStringLiteral("tsGetThunderMainHandle"), QStringLiteral("tsSetWindowResIconAll"),
        QStringLiteral("tsCenterFormEx"),         QStringLiteral("tsIsInIDE"),
        QStringLiteral("tsSetWindowResIconAll"),
    };
    QCOMPARE(support.calls, expected);
    // The control's own start-up follows once the window is on screen: eight
    // icon loads, nothing else.
    QTRY_COMPARE(support.calls.size(), expected.size() + 8);
}

void AppTest::aFailingSupportCallStopsStartUpThere_data() {
    QTest::addColumn<int>("failing");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<int>("callsMade");
    QTest::addColumn<bool>("windowShown");
    QTest::addColumn<bool>("errorReported");
    QTest::newRow("tsRegisterAppPath")
        << int(SupportFunction::RegisterAppPath) << 1 << 1 << false << true;
    QTest::newRow("tsIsInIDE in Main") << int(SupportFunction::IsInIDE) << 1 << 2 << false << true;
    QTest::newRow("tsGetThunderMainHandle")
        << int(SupportFunction::GetThunderMainHandle) << 1 << 3 << false << true;
    QTest::newRow("application icon")
        << int(SupportFunction::SetWindowResIconAll) << 1 << 4 << false << true;
    QTest::newRow("tsCenterFormEx") << int(SupportFunction::CenterFormEx) << 1 << 5 << true << true;
    QTest::newRow("tsIsInIDE in Form_Load")
        << int(SupportFunction::IsInIDE) << 2 << 6 << true << true;
    QTest::newRow("window icon in Form_Load")
        << int(SupportFunction::SetWindowResIconAll) << 2 << 7 << true << true;
}

void AppTest::aFailingSupportCallStopsStartUpThere() {
    QFETCH(int, failing);
    QFETCH(int, occurrence);
    QFETCH(int, callsMade);
    QFETCH(bool, windowShown);
    QFETCH(bool, errorReported);
    ErrorRecorder errors;
    SupportRecorder support;
    support.failOn(SupportFunction(failing), occurrence);
    forms::eventboundary::enter(modMain::Main);
    QCOMPARE(support.calls.size(), callsMade);
    QCOMPARE(isFrmMainLoaded() && frmMain().isVisible(), windowShown);
    QCOMPARE(!errors.numbers.empty(), errorReported);
}

void AppTest::theMainWindowIsCentredFixedAndCaptioned() {
    modMain::Main();
    FrmMain& form = frmMain();
    QCOMPARE(form.windowTitle(), QStringLiteral("Color palette"));
    QCOMPARE(form.size(), QSize(477, 273));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.cpMain->geometry(), QRect(0, 0, 477, 273));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect available = form.screen()->availableGeometry();
    const QSize frame = form.frameGeometry().size();
    QTRY_COMPARE(form.frameGeometry().topLeft(),
                 QPoint(available.x() + (available.width() - frame.width()) / 2,
                        available.y() + (available.height() - frame.height()) / 2));
    QVERIFY(!forms::windows::bigIcon(form.hWnd()).isNone());
}

void AppTest::keysAreHandledOnlyWithTheExactMask_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("opensAbout");
    QTest::addColumn<bool>("closes");
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    const int alt = Qt::AltModifier;
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << false << false;
    QTest::newRow("Shift+F1") << int(Qt::Key_F1) << shift << true << false;
    QTest::newRow("Ctrl+F1") << int(Qt::Key_F1) << ctrl << false << false;
    QTest::newRow("Shift+Ctrl+F1") << int(Qt::Key_F1) << (shift | ctrl) << false << false;
    QTest::newRow("Shift+Alt+F1") << int(Qt::Key_F1) << (shift | alt) << false << false;
    QTest::newRow("Shift+Ctrl+Alt+F1") << int(Qt::Key_F1) << (shift | ctrl | alt) << false << false;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << false << true;
    QTest::newRow("Shift+Esc") << int(Qt::Key_Escape) << shift << false << false;
    QTest::newRow("Ctrl+Esc") << int(Qt::Key_Escape) << ctrl << false << false;
    QTest::newRow("Alt+Esc") << int(Qt::Key_Escape) << alt << false << false;
    QTest::newRow("Shift+F2") << int(Qt::Key_F2) << shift << false << false;
}

void AppTest::keysAreHandledOnlyWithTheExactMask() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, opensAbout);
    QFETCH(bool, closes);
    AboutRecorder about;
    FrmMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    press(&form, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(about.calls.size(), size_t(opensAbout ? 1 : 0));
    QCOMPARE(form.isLoaded(), !closes);
    QCOMPARE(form.isVisible(), !closes);
}

void AppTest::aboutBoxCarriesTheTextsAndTheWindowIcon() {
    AboutRecorder about;
    modMain::Main();
    FrmMain& form = frmMain();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    press(&form, Qt::Key_F1, Qt::ShiftModifier);
    QCOMPARE(about.calls.size(), size_t{1});
    const AboutCall& call = about.calls.front();
    QCOMPARE(call.owner, form.hWnd());
    QCOMPARE(call.appText, AboutAppText);
    QCOMPARE(call.otherText, AboutOtherText);
    forms::Picture icon;
    tarnwick::tsLoadResIcon(QStringLiteral("A_MAIN"), icon);
    QCOMPARE(call.icon.image(), icon.image());
}

void AppTest::aboutBoxIsNotShownWhenTheVersionCannotBeFormatted() {
    AboutRecorder about;
    ErrorRecorder errors;
    FrmMain form;
    form.show();
    SupportRecorder support;
    support.failOn(SupportFunction::FormatVersion);
    press(&form, Qt::Key_F1, Qt::ShiftModifier);
    QVERIFY(about.calls.empty());
    QCOMPARE(errors.numbers.size(), size_t{1});
}

void AppTest::aboutDialogSplitsTitleAndFirstLine() {
    forms::Picture icon;
    tarnwick::tsLoadResIcon(QStringLiteral("A_MAIN"), icon);
    forms::AboutDialog dialog(nullptr, AboutAppText, AboutOtherText, icon);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("О программе"));
    QCOMPARE(dialog.firstLine(), QStringLiteral("Tarnwick - Kelvary"));
    QCOMPARE(dialog.otherText(), QStringLiteral("    Версия 1.00.0016\n    Посвящается Зорвель"));
    QVERIFY(dialog.showsOwnIcon());
}

void AppTest::aboutDialogFallsBackToTheDefaultIcon() {
    forms::AboutDialog dialog(nullptr, AboutAppText, AboutOtherText, forms::Picture());
    QVERIFY(!dialog.showsOwnIcon());
}

QTEST_MAIN(AppTest)
#include "tst_app.moc"
