#include "testsupport.h"

#include <QFile>
#include <QTest>

#include <optional>

// Reads the resource file the Windows resource script compiles to, as a
// Windows build would link it.
namespace {

struct Resource {
    std::optional<int> typeId;
    QString typeName;
    std::optional<int> nameId;
    QString name;
    int language = 0;
    QByteArray data;
};

qsizetype aligned(qsizetype at) {
    return (at + 3) & ~qsizetype{3};
}

// A resource type or name: 0xFFFF and a number, or a zero-ended UTF-16 string.
qsizetype readId(const QByteArray& data, qsizetype at, std::optional<int>& id, QString& name) {
    if (le16(data, at) == 0xFFFF) {
        id = le16(data, at + 2);
        return at + 4;
    }
    while (le16(data, at) != 0) {
        name += QChar(le16(data, at));
        at += 2;
    }
    return at + 2;
}

QList<Resource> readResources(const QByteArray& file) {
    QList<Resource> resources;
    qsizetype at = 0;
    while (at + 8 <= file.size()) {
        const uint32_t dataSize = le32(file, at);
        const uint32_t headerSize = le32(file, at + 4);
        Resource resource;
        qsizetype field = readId(file, at + 8, resource.typeId, resource.typeName);
        field = aligned(readId(file, field, resource.nameId, resource.name));
        resource.language = le16(file, field + 6);
        resource.data = file.mid(at + headerSize, dataSize);
        if (dataSize > 0) {
            resources << resource;
        }
        at = aligned(at + headerSize + dataSize);
    }
    return resources;
}

// A node of a version block: key, value and children.
struct VersionNode {
    QString key;
    QByteArray value;
    bool textValue = false;
    QList<VersionNode> children;
};

VersionNode readVersionNode(const QByteArray& data, qsizetype at) {
    VersionNode node;
    const qsizetype end = at + le16(data, at);
    const uint16_t valueLength = le16(data, at + 2);
    node.textValue = le16(data, at + 4) == 1;
    qsizetype field = at + 6;
    while (le16(data, field) != 0) {
        node.key += QChar(le16(data, field));
        field += 2;
    }
    field = aligned(field + 2);
    const qsizetype valueBytes = node.textValue ? valueLength * 2 : valueLength;
    node.value = data.mid(field, valueBytes);
    field = aligned(field + valueBytes);
    while (field < end) {
        node.children << readVersionNode(data, field);
        field = aligned(field + le16(data, field));
    }
    return node;
}

QString text(const QByteArray& utf16) {
    QString result =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(utf16.constData()), utf16.size() / 2);
    while (result.endsWith(QChar(0))) {
        result.chop(1);
    }
    return result;
}

const Resource* find(const QList<Resource>& resources, int type, const QString& name) {
    for (const Resource& resource : resources) {
        if (resource.typeId == type && resource.name == name) {
            return &resource;
        }
    }
    return nullptr;
}

constexpr int RtBitmap = 2;
constexpr int RtIcon = 3;
constexpr int RtGroupIcon = 14;
constexpr int RtVersion = 16;
constexpr int Russian = 1049;
constexpr int UsEnglish = 1033;

} // namespace

class WindowsResourcesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void theArtIsCarriedByName();
    void theFileIconIsNeutralWithThreeImages();
    void theVersionBlockNamesVersion1_0_0_16();

  private:
    QList<Resource> mResources;
};

void WindowsResourcesTest::initTestCase() {
    QFile file(QStringLiteral(PALETTE_RES));
    QVERIFY2(file.open(QIODevice::ReadOnly), PALETTE_RES);
    mResources = readResources(file.readAll());
    QVERIFY(!mResources.isEmpty());
}

void WindowsResourcesTest::theArtIsCarriedByName() {
    const Resource* toolbar = find(mResources, RtBitmap, QStringLiteral("IDB_TOOLBAR"));
    QVERIFY(toolbar != nullptr);
    QCOMPARE(toolbar->language, Russian);
    QCOMPARE(toolbar->data.size(), 1640);
    for (const char* name : {"A_MAIN", "IDI_DRAG"}) {
        const Resource* group = find(mResources, RtGroupIcon, QLatin1String(name));
        QVERIFY2(group != nullptr, name);
        QCOMPARE(group->language, Russian);
        QCOMPARE(le16(group->data, 4), uint16_t{1}); // one image
        QCOMPARE(le32(group->data, 6 + 8), 744u);    // of 744 bytes
    }
}

void WindowsResourcesTest::theFileIconIsNeutralWithThreeImages() {
    for (const Resource& resource : mResources) {
        if (resource.typeId == RtGroupIcon && resource.nameId == 1) {
            QCOMPARE(resource.language, 0);
            QCOMPARE(le16(resource.data, 4), uint16_t{3});
            return;
        }
    }
    QFAIL("no file icon");
}

void WindowsResourcesTest::theVersionBlockNamesVersion1_0_0_16() {
    const Resource* version = nullptr;
    for (const Resource& resource : mResources) {
        if (resource.typeId == RtVersion) {
            version = &resource;
        }
    }
    QVERIFY(version != nullptr);
    QCOMPARE(version->language, UsEnglish);
    const VersionNode root = readVersionNode(version->data, 0);
    QCOMPARE(root.key, QStringLiteral("VS_VERSION_INFO"));
    const QByteArray& fixed = root.value;
    QCOMPARE(le32(fixed, 0), 0xFEEF04BDu);
    QCOMPARE(le32(fixed, 8), (1u << 16) | 0u);   // file version 1.0
    QCOMPARE(le32(fixed, 12), (0u << 16) | 16u); // .0.16
    QCOMPARE(le32(fixed, 16), (1u << 16) | 0u);  // product version
    QCOMPARE(le32(fixed, 20), (0u << 16) | 16u);
    QCOMPARE(le32(fixed, 28), 0u); // no flags
    QCOMPARE(le32(fixed, 32), 4u); // 32-bit Windows
    QCOMPARE(le32(fixed, 36), 1u); // application

    QMap<QString, QString> strings;
    QByteArray translation;
    for (const VersionNode& block : root.children) {
        for (const VersionNode& child : block.children) {
            if (block.key == QStringLiteral("StringFileInfo")) {
                QCOMPARE(child.key, QStringLiteral("040904B0"));
                for (const VersionNode& entry : child.children) {
                    strings[entry.key] = text(entry.value);
                }
            } else if (child.key == QStringLiteral("Translation")) {
                translation = child.value;
            }
        }
    }
    QCOMPARE(strings.value("Comments"), QStringLiteral("Tarnwick - Kelvary 1.00"));
    QCOMPARE(strings.value("FileDescription"), QStringLiteral("Tarnwick - Kelvary 1.00"));
    QCOMPARE(strings.value("ProductName"), QStringLiteral("Tarnwick"));
    QCOMPARE(strings.value("FileVersion"), QStringLiteral("1.00.0016"));
    QCOMPARE(strings.value("ProductVersion"), QStringLiteral("1.00.0016"));
    QCOMPARE(strings.value("InternalName"), QStringLiteral("Kelvary"));
    QCOMPARE(strings.value("OriginalFilename"), QStringLiteral("Kelvary.EXE"));
    QVERIFY(!strings.value("CompanyName").isEmpty());
    QVERIFY(strings.value("LegalCopyright").contains(QStringLiteral("Zorvel")));
    QCOMPARE(strings.value("LegalTrademarks"), QStringLiteral("Все права защищены."));
    QCOMPARE(le16(translation, 0), uint16_t{0x0409});
    QCOMPARE(le16(translation, 2), uint16_t{0x04B0});
}

QTEST_GUILESS_MAIN(WindowsResourcesTest)
#include "tst_windowsresources.moc"
