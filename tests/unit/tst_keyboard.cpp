#include "forms/keyboard.h"
#include "forms/messagebox.h"
#include "palette/keyboardpicking.h"
#include "testsupport.h"

#include <QTest>

using namespace forms::keyboard;

namespace {

// Tab stops from a window without focus: 1 is the toolbar, 2 to 8 the bars.
void tabTimes(QWidget* window, int stops) {
    for (int i = 0; i < stops; ++i) {
        press(window, Qt::Key_Tab);
    }
}

QRect clientInWindow(const forms::PictureBox* box, const QWidget* window) {
    return {box->mapTo(window, box->clientRect().topLeft()), box->clientRect().size()};
}

forms::PictureBox* toolbar(const ShownPalette& shown) {
    return child<forms::PictureBox>(shown.palette, QStringLiteral("picToolBar"));
}

forms::PictureBox* selectedSwatch(const ShownPalette& shown) {
    return child<forms::PictureBox>(shown.palette, QStringLiteral("picSelectedColor"));
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

  private slots:
    void keysMoveThePickPositionAlongABar_data();
    void keysMoveThePickPositionAlongABar();
    void aKeyboardMovePicksAsAHoverOverThatPixel_data();
    void aKeyboardMovePicksAsAHoverOverThatPixel();
    void spaceOrEnterOnABarKeepsTheCurrentPick_data();
    void spaceOrEnterOnABarKeepsTheCurrentPick();
    void spaceOnTheSwatchReadsItBack();
    void toolbarKeysPressTheChosenButton_data();
    void toolbarKeysPressTheChosenButton();
    void focusMarksShowOnlyAfterANavigationKeyAndNeverCoverTheBars();
};

void KeyboardTest::keysMoveThePickPositionAlongABar_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("expected"); // -1: the key does not move
    QTest::newRow("Down, one row") << int(VkDown) << 0 << 10 << 243 << 11;
    QTest::newRow("Up, one row") << int(VkUp) << 0 << 10 << 243 << 9;
    QTest::newRow("Up at the top") << int(VkUp) << 0 << 0 << 243 << 0;
    QTest::newRow("Down at the bottom") << int(VkDown) << 0 << 242 << 243 << 242;
    QTest::newRow("Page Down, a tenth") << int(VkPageDown) << 0 << 0 << 243 << 24;
    QTest::newRow("Page Up, a tenth") << int(VkPageUp) << 0 << 100 << 243 << 76;
    QTest::newRow("Page Down near the bottom") << int(VkPageDown) << 0 << 230 << 243 << 242;
    QTest::newRow("Page Up near the top") << int(VkPageUp) << 0 << 10 << 243 << 0;
    QTest::newRow("Home") << int(VkHome) << 0 << 100 << 243 << 0;
    QTest::newRow("End") << int(VkEnd) << 0 << 100 << 243 << 242;
    QTest::newRow("a tenth of twice the rows") << int(VkPageDown) << 0 << 0 << 486 << 48;
    QTest::newRow("a tenth of a short bar is a row") << int(VkPageDown) << 0 << 0 << 5 << 1;
    QTest::newRow("from beyond a bar that shrank") << int(VkUp) << 0 << 300 << 243 << 241;
    QTest::newRow("Shift+Down") << int(VkDown) << int(ShiftMask) << 10 << 243 << -1;
    QTest::newRow("Ctrl+End") << int(VkEnd) << int(CtrlMask) << 10 << 243 << -1;
    QTest::newRow("Alt+Up") << int(VkUp) << int(AltMask) << 10 << 243 << -1;
    QTest::newRow("Left") << int(VkLeft) << 0 << 10 << 243 << -1;
    QTest::newRow("Right") << int(VkRight) << 0 << 10 << 243 << -1;
    QTest::newRow("Space") << int(VkSpace) << 0 << 10 << 243 << -1;
}

void KeyboardTest::keysMoveThePickPositionAlongABar() {
    QFETCH(int, key);
    QFETCH(int, shift);
    QFETCH(int, row);
    QFETCH(int, rows);
    QFETCH(int, expected);
    const auto moved = palette::keyboardpicking::rowAfter(static_cast<int16_t>(key),
                                                          static_cast<int16_t>(shift), row, rows);
    QCOMPARE(moved.value_or(-1), expected);
}

void KeyboardTest::aKeyboardMovePicksAsAHoverOverThatPixel_data() {
    QTest::addColumn<int>("barIndex");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("row");
    QTest::newRow("Down") << 0 << QList<int>{Qt::Key_Down} << 1;
    QTest::newRow("Down, Page Down, End")
        << 0 << QList<int>{Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End} << 242;
    QTest::newRow("two pages down, one row up")
        << 3 << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_Up} << 47;
    QTest::newRow("End, then Down stays") << 6 << QList<int>{Qt::Key_End, Qt::Key_Down} << 242;
    QTest::newRow("End, then Home") << 4 << QList<int>{Qt::Key_End, Qt::Key_Home} << 0;
    QTest::newRow("Page Down") << 2 << QList<int>{Qt::Key_PageDown} << 24;
}

void KeyboardTest::aKeyboardMovePicksAsAHoverOverThatPixel() {
    QFETCH(int, barIndex);
    QFETCH(QList<int>, keys);
    QFETCH(int, row);
    ShownPalette shown;
    QVERIFY(shown.painted);
    forms::PictureBox* bar = colorBar(shown.palette, barIndex);
    tabTimes(&shown.host, 2 + barIndex);
    QCOMPARE(shown.host.focusWidget(), bar);
    for (const int key : keys) {
        press(&shown.host, Qt::Key(key));
    }
    QCOMPARE(bar->positionMark(), std::optional<int>(row));
    const PickState byKeys = pickStateOf(shown.palette);

    // Somewhere else first, then over the middle pixel of that row, inside
    // the border.
    hover(colorBar(shown.palette, (barIndex + 1) % 7), QPoint(10, 120));
    QVERIFY(pickStateOf(shown.palette).status != byKeys.status);
    hover(bar, QPoint(1 + bar->imageSize().width() / 2, 1 + row));
    QCOMPARE(pickStateOf(shown.palette), byKeys);
}

void KeyboardTest::spaceOrEnterOnABarKeepsTheCurrentPick_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("keeps");
    QTest::newRow("Space") << int(Qt::Key_Space) << 0 << true;
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
    QTest::newRow("Shift+Space") << int(Qt::Key_Space) << int(Qt::ShiftModifier) << false;
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier) << false;
}

void KeyboardTest::spaceOrEnterOnABarKeepsTheCurrentPick() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, keeps);
    ShownPalette shown;
    QVERIFY(shown.painted);
    // Picked on the red bar, kept from the grey one: a drop keeps the pick,
    // whichever bar is dropped.
    tabTimes(&shown.host, 2);
    press(&shown.host, Qt::Key_PageDown);
    const forms::ColorValue picked = shown.palette->mCurColor;
    QVERIFY(picked != forms::White);
    tabTimes(&shown.host, 6);
    QCOMPARE(shown.host.focusWidget(), colorBar(shown.palette, 6));
    const QString status = statusText(shown.palette);
    press(&shown.host, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(selectedSwatch(shown)->backColor(), keeps ? picked : forms::White);
    QCOMPARE(statusText(shown.palette), status);
}

void KeyboardTest::spaceOnTheSwatchReadsItBack() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    tabTimes(&shown.host, 10);
    QCOMPARE(shown.host.focusWidget(), selectedSwatch(shown));
    press(&shown.host, Qt::Key_Space);
    QCOMPARE(statusText(shown.palette),
             QStringLiteral(" Current Color: RGB(255,255,255) = &H00FFFFFF"));
    QCOMPARE(shown.palette->mCurColor, forms::White);
    QCOMPARE(shown.palette->mCurX, 10.0F);
    QCOMPARE(shown.palette->mCurY, 10.0F);
}

void KeyboardTest::toolbarKeysPressTheChosenButton_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("pressedCell"); // -1: none
    QTest::addColumn<bool>("grayBack");
    QTest::addColumn<bool>("titleBars");
    QTest::addColumn<int>("aboutCalls");
    QTest::newRow("Space presses the top button")
        << QList<int>{Qt::Key_Space} << 0 << true << false << 0;
    QTest::newRow("Up at the top stays there")
        << QList<int>{Qt::Key_Up, Qt::Key_Return} << 0 << true << false << 0;
    QTest::newRow("Down, Enter presses the middle button")
        << QList<int>{Qt::Key_Down, Qt::Key_Return} << 1 << false << true << 0;
    QTest::newRow("the bottom button opens the about box")
        << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Space} << -1 << false
        << false << 1;
    QTest::newRow("Down, Up, Space presses the top button")
        << QList<int>{Qt::Key_Down, Qt::Key_Up, Qt::Key_Space} << 0 << true << false << 0;
    QTest::newRow("choosing alone presses nothing")
        << QList<int>{Qt::Key_Down} << -1 << false << false << 0;
}

void KeyboardTest::toolbarKeysPressTheChosenButton() {
    QFETCH(QList<int>, keys);
    QFETCH(int, pressedCell);
    QFETCH(bool, grayBack);
    QFETCH(bool, titleBars);
    QFETCH(int, aboutCalls);
    int abouts = 0;
    ShownPalette shown([&abouts] { ++abouts; });
    QVERIFY(shown.painted);
    // A press beside the buttons would show a message box.
    int messages = 0;
    forms::messagebox::setPresenter([&messages](const QString&, int, const QString&) {
        ++messages;
        return forms::messagebox::ResultOk;
    });
    const auto restore = qScopeGuard([] { forms::messagebox::setPresenter({}); });
    tabTimes(&shown.host, 1);
    QCOMPARE(shown.host.focusWidget(), toolbar(shown));
    const QImage before = toolbar(shown)->image();
    for (const int key : keys) {
        press(&shown.host, Qt::Key(key));
    }
    QCOMPARE(shown.palette->mGrayBack != 0, grayBack);
    QCOMPARE(shown.palette->mTitleBars != 0, titleBars);
    QCOMPARE(abouts, aboutCalls);
    QCOMPARE(messages, 0);
    // Exactly the pressed cell is inverted, as a click on it inverts it.
    const QImage after = toolbar(shown)->image();
    for (int cell = 0; cell < 3; ++cell) {
        const QPoint inCell(5, 32 * cell + 5);
        const bool inverted =
            (after.pixel(inCell) & 0xFFFFFF) == (~before.pixel(inCell) & 0xFFFFFF);
        QCOMPARE(inverted, cell == pressedCell);
    }
}

// A mouse user never sees a focus mark, though a clicked bar has the focus;
// a keyboard user sees it after the first navigation key, outside the bars:
// their images and their pixels on screen stay exactly as painted.
void KeyboardTest::focusMarksShowOnlyAfterANavigationKeyAndNeverCoverTheBars() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    QWidget* window = &shown.host;
    const QImage painted = window->grab().toImage();
    std::vector<QImage> images;
    for (int b = 0; b < 7; ++b) {
        images.push_back(colorBar(shown.palette, b)->image());
    }
    const QImage toolbarImage = toolbar(shown)->image();

    forms::PictureBox* bar = colorBar(shown.palette, 1);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(20, 100));
    QCOMPARE(window->focusWidget(), bar);
    press(window, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(window->grab().toImage(), painted);

    press(window, Qt::Key_PageDown);
    const QImage marked = window->grab().toImage();
    const QRect barClient = clientInWindow(bar, window);
    const QPoint ringLeft(barClient.left() - 2, barClient.center().y());
    const QPoint positionMarkLeft(barClient.left() - 3, barClient.top() + 24);
    QVERIFY(marked.pixel(ringLeft) != painted.pixel(ringLeft));
    QVERIFY(marked.pixel(positionMarkLeft) != painted.pixel(positionMarkLeft));

    press(window, Qt::Key_Backtab, Qt::ShiftModifier);
    press(window, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(window->focusWidget(), toolbar(shown));
    const QImage toolbarMarked = window->grab().toImage();
    const QRect toolbarClient = clientInWindow(toolbar(shown), window);
    QVERIFY(toolbarMarked.copy(toolbarClient) != painted.copy(toolbarClient));
    QCOMPARE(toolbar(shown)->image(), toolbarImage);

    for (int b = 0; b < 7; ++b) {
        forms::PictureBox* each = colorBar(shown.palette, b);
        const QRect client = clientInWindow(each, window);
        QVERIFY2(marked.copy(client) == painted.copy(client), qPrintable(QString::number(b)));
        QCOMPARE(each->image(), images[static_cast<size_t>(b)]);
    }
}

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
