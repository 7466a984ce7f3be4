#include "testsupport.h"

#include <QAccessible>
#include <QTest>

namespace {

QAccessibleInterface* accessible(QWidget* palette, const QString& name) {
    return QAccessible::queryAccessibleInterface(child<QWidget>(palette, name));
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

  private slots:
    void everyControlHasAName_data();
    void everyControlHasAName();
    void theToolbarDescribesItsButtons();
    void theStatusLineIsReadAsItsText();
};

void AccessibilityTest::everyControlHasAName_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    const QStringList bars = {"Red bar",  "Green bar",   "Blue bar", "Yellow bar",
                              "Cyan bar", "Magenta bar", "Grey bar"};
    for (int b = 0; b < 7; ++b) {
        QTest::addRow("bar %d", b)
            << QStringLiteral("picColorBar(%1)").arg(b) << bars[b] << int(QAccessible::Graphic);
    }
    QTest::newRow("toolbar") << "picToolBar"
                             << "Toolbar" << int(QAccessible::ToolBar);
    QTest::newRow("selected") << "picSelectedColor"
                              << "Selected color" << int(QAccessible::Graphic);
    QTest::newRow("preview") << "picColorPreview"
                             << "Color preview" << int(QAccessible::Graphic);
    QTest::newRow("title 0") << "lblTitle(0)"
                             << "Color Picker" << int(QAccessible::StaticText);
    QTest::newRow("title 1") << "lblTitle(1)"
                             << "Color Preview" << int(QAccessible::StaticText);
}

void AccessibilityTest::everyControlHasAName() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(int, role);
    ColorPalette palette([] {});
    QAccessibleInterface* interface = accessible(&palette, control);
    QVERIFY(interface != nullptr);
    QCOMPARE(interface->text(QAccessible::Name), name);
    QCOMPARE(int(interface->role()), role);
}

void AccessibilityTest::theToolbarDescribesItsButtons() {
    ColorPalette palette([] {});
    const QString description =
        accessible(&palette, QStringLiteral("picToolBar"))->text(QAccessible::Description);
    QVERIFY(description.contains(QStringLiteral("grey background")));
    QVERIFY(description.contains(QStringLiteral("title-bar colours")));
    QVERIFY(description.contains(QStringLiteral("about")));
}

// Its name is its text, whatever the text becomes; the announcements a screen
// reader hears are checked end to end over AT-SPI.
void AccessibilityTest::theStatusLineIsReadAsItsText() {
    QWidget host;
    auto* palette = new ColorPalette([] {}, &host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QAccessibleInterface* status = accessible(palette, QStringLiteral("lblStatusBar"));
    QCOMPARE(int(status->role()), int(QAccessible::StatusBar));
    QTRY_COMPARE(status->text(QAccessible::Name), QStringLiteral(" Paint operation complete."));
    QTest::mouseMove(child<QWidget>(palette, QStringLiteral("picColorBar(0)")), QPoint(20, 122));
    QTRY_COMPARE(status->text(QAccessible::Name),
                 child<forms::Label>(palette, QStringLiteral("lblStatusBar"))->caption());
    QVERIFY(status->text(QAccessible::Name).startsWith(QStringLiteral(" Current Color: RGB(")));
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
