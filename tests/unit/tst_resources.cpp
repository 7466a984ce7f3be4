#include "forms/resourcelibrary.h"
#include "forms/runtimeerror.h"

#include "testsupport.h"

#include <QFile>
#include <QTest>

namespace {

QByteArray readArt(const QString& name) {
    QFile file(QStringLiteral(PALETTE_ART_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The standard 16-colour palette, in its stored order.
const uint32_t StandardPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                      0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                      0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

} // namespace

class ResourcesTest : public QObject {
    Q_OBJECT

  private slots:
    void toolbarBitmapHasTheExactFormat();
    void toolbarUsesOnlyBlackGreyAndSilver();
    void toolbarCellsAreRaisedButtons_data();
    void toolbarCellsAreRaisedButtons();
    void iconsAreOne16ColourImageOf744Bytes_data();
    void iconsAreOne16ColourImageOf744Bytes();
    void fileIconHasThreeImages();
    void resourcesLoadByName_data();
    void resourcesLoadByName();
    void aMissingResourceIsAnError_data();
    void aMissingResourceIsAnError();
};

void ResourcesTest::toolbarBitmapHasTheExactFormat() {
    const QByteArray file = readArt(QStringLiteral("IDB_TOOLBAR.bmp"));
    QCOMPARE(file.left(2), QByteArray("BM"));
    // The resource is the file without its 14-byte file header.
    const QByteArray dib = file.mid(14);
    QCOMPARE(dib.size(), 1640);
    QCOMPARE(le32(dib, 0), 40u);          // header size
    QCOMPARE(le32(dib, 4), 32u);          // width
    QCOMPARE(le32(dib, 8), 96u);          // height, bottom-up
    QCOMPARE(le16(dib, 14), uint16_t{4}); // bits per pixel
    QCOMPARE(le32(dib, 16), 0u);          // uncompressed
    QCOMPARE(le32(dib, 24), 3780u);       // 96 dpi
    QCOMPARE(le32(dib, 28), 3780u);
    for (int index = 0; index < 16; ++index) {
        QCOMPARE(le32(dib, 40 + 4 * index), StandardPalette[index]);
    }
    QCOMPARE(le32(file, 10), 14u + 40u + 64u); // pixels follow the palette
}

void ResourcesTest::toolbarUsesOnlyBlackGreyAndSilver() {
    const QImage image(QStringLiteral(PALETTE_ART_DIR "/IDB_TOOLBAR.bmp"));
    QCOMPARE(image.size(), QSize(32, 96));
    QSet<QRgb> used;
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 32; ++x) {
            used.insert(image.pixel(x, y) & 0xFFFFFF);
        }
    }
    QCOMPARE(used, (QSet<QRgb>{0x000000, 0x808080, 0xC0C0C0}));
}

void ResourcesTest::toolbarCellsAreRaisedButtons_data() {
    QTest::addColumn<int>("cell");
    QTest::newRow("cell 0, background style") << 0;
    QTest::newRow("cell 1, title style") << 1;
    QTest::newRow("cell 2, about") << 2;
}

// Row n of the toolbar is pixel rows 32n to 32n + 31: silver edges top and
// left, black edges bottom and right, a grey face with a black glyph on it.
void ResourcesTest::toolbarCellsAreRaisedButtons() {
    QFETCH(int, cell);
    const QImage image(QStringLiteral(PALETTE_ART_DIR "/IDB_TOOLBAR.bmp"));
    const int top = 32 * cell;
    const auto at = [&](int x, int y) { return image.pixel(x, top + y) & 0xFFFFFF; };
    QCOMPARE(at(0, 0), 0xC0C0C0u);
    QCOMPARE(at(1, 15), 0xC0C0C0u);
    QCOMPARE(at(15, 1), 0xC0C0C0u);
    QCOMPARE(at(31, 31), 0x000000u);
    QCOMPARE(at(30, 15), 0x000000u);
    QCOMPARE(at(15, 30), 0x000000u);
    QCOMPARE(at(2, 2), 0x808080u);
    QCOMPARE(at(29, 29), 0x808080u);
    int glyph = 0;
    for (int y = 2; y < 30; ++y) {
        for (int x = 2; x < 30; ++x) {
            glyph += at(x, y) == 0 ? 1 : 0;
        }
    }
    QVERIFY2(glyph > 20, "the face carries a black glyph");
}

void ResourcesTest::iconsAreOne16ColourImageOf744Bytes_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("A_MAIN") << QStringLiteral("A_MAIN.ico");
    QTest::newRow("IDI_DRAG") << QStringLiteral("IDI_DRAG.ico");
}

void ResourcesTest::iconsAreOne16ColourImageOf744Bytes() {
    QFETCH(QString, name);
    const QByteArray file = readArt(name);
    QCOMPARE(le16(file, 2), uint16_t{1}); // icon
    QCOMPARE(le16(file, 4), uint16_t{1}); // one image
    QCOMPARE(uint8_t(file[6]), uint8_t{32});
    QCOMPARE(uint8_t(file[7]), uint8_t{32});
    QCOMPARE(uint8_t(file[8]), uint8_t{16});
    QCOMPARE(le32(file, 14), 744u);
    QCOMPARE(file.size(), 6 + 16 + 744);
    const QImage image(QStringLiteral(PALETTE_ART_DIR "/") + name);
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(qAlpha(image.pixel(0, 31)), 0); // transparent background
}

void ResourcesTest::fileIconHasThreeImages() {
    const QByteArray file = readArt(QStringLiteral("FILEICON.ico"));
    QCOMPARE(le16(file, 4), uint16_t{3});
    struct Entry {
        int size, colours, bits;
    };
    const Entry expected[] = {{32, 2, 1}, {32, 16, 4}, {16, 16, 4}};
    for (int i = 0; i < 3; ++i) {
        const int entry = 6 + 16 * i;
        QCOMPARE(int(uint8_t(file[entry])), expected[i].size);
        QCOMPARE(int(uint8_t(file[entry + 2])), expected[i].colours);
        QCOMPARE(int(le16(file, entry + 6)), expected[i].bits);
    }
}

void ResourcesTest::resourcesLoadByName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("windowsFile");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("imageFormat");
    using forms::Picture;
    using forms::resources::PictureFormat;
    QTest::newRow("IDB_TOOLBAR") << QStringLiteral("IDB_TOOLBAR") << int(PictureFormat::Bitmap)
                                 << QStringLiteral("IDB_TOOLBAR.bmp") << int(Picture::Kind::Bitmap)
                                 << int(QImage::Format_RGB32);
    QTest::newRow("A_MAIN") << QStringLiteral("A_MAIN") << int(PictureFormat::Icon)
                            << QStringLiteral("A_MAIN.ico") << int(Picture::Kind::Icon)
                            << int(QImage::Format_ARGB32);
    QTest::newRow("IDI_DRAG") << QStringLiteral("IDI_DRAG") << int(PictureFormat::Icon)
                              << QStringLiteral("IDI_DRAG.ico") << int(Picture::Kind::Icon)
                              << int(QImage::Format_ARGB32);
}

// The program's own copy of each picture is pixel for pixel what the Windows
// build's file decodes to.
void ResourcesTest::resourcesLoadByName() {
    QFETCH(QString, name);
    QFETCH(int, format);
    QFETCH(QString, windowsFile);
    QFETCH(int, kind);
    QFETCH(int, imageFormat);
    const forms::Picture picture =
        forms::resources::loadResPicture(name, forms::resources::PictureFormat(format));
    QCOMPARE(int(picture.kind()), kind);
    QCOMPARE(int(picture.image().format()), imageFormat);
    QCOMPARE(picture.image(), QImage(QStringLiteral(PALETTE_ART_DIR "/") + windowsFile)
                                  .convertToFormat(QImage::Format(imageFormat)));
}

void ResourcesTest::aMissingResourceIsAnError_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("format");
    using forms::resources::PictureFormat;
    QTest::newRow("unknown name") << QStringLiteral("IDB_NONE") << int(PictureFormat::Bitmap);
    QTest::newRow("an icon asked for as a bitmap")
        << QStringLiteral("A_MAIN") << int(PictureFormat::Bitmap);
    QTest::newRow("a bitmap asked for as an icon")
        << QStringLiteral("IDB_TOOLBAR") << int(PictureFormat::Icon);
}

void ResourcesTest::aMissingResourceIsAnError() {
    QFETCH(QString, name);
    QFETCH(int, format);
    try {
        forms::resources::loadResPicture(name, forms::resources::PictureFormat(format));
        QFAIL("no error");
    } catch (const forms::RuntimeError& error) {
        QCOMPARE(error.number(), 326);
    }
}

QTEST_MAIN(ResourcesTest)
#include "tst_resources.moc"
