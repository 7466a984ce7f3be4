#include "testsupport.h"

#include "doevents.h"
#include "eventboundary.h"
#include "label.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

ErrorRecorder::ErrorRecorder() {
    forms::eventboundary::setErrorHandler([this](const forms::RuntimeError& error) {
        numbers.push_back(error.number());
        texts << error.text();
    });
}

ErrorRecorder::~ErrorRecorder() {
    forms::eventboundary::setErrorHandler({});
}

SupportRecorder::SupportRecorder() {
    tarnwick::setCallGate([this](tarnwick::SupportFunction function) {
        calls << QLatin1String(tarnwick::functionName(function));
        if (mFailAt > 0 && function == mFailing && ++mSeen == mFailAt) {
            return -1;
        }
        return 0;
    });
}

SupportRecorder::~SupportRecorder() {
    tarnwick::setCallGate({});
}

void SupportRecorder::failOn(tarnwick::SupportFunction function, int occurrence) {
    mFailing = function;
    mFailAt = occurrence;
    mSeen = 0;
}

QStringList SupportRecorder::callsOf(tarnwick::SupportFunction function) const {
    return calls.filter(QLatin1String(tarnwick::functionName(function)));
}

forms::ColorValue pixelValue(const QImage& image, int x, int y) {
    return forms::colorValueFromRgb(image.pixel(x, y));
}

forms::PictureBox* colorBar(QWidget* palette, int index) {
    return child<forms::PictureBox>(palette, QStringLiteral("picColorBar(%1)").arg(index));
}

void hover(QWidget* control, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), control->mapToGlobal(QPointF(at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(control, &move);
}

QString statusText(QWidget* palette) {
    return child<forms::Label>(palette, QStringLiteral("lblStatusBar"))->caption();
}

ShownPalette::ShownPalette(std::function<void()> showAbout)
    : palette(new PaletteProbe(std::move(showAbout), &host)) {
    host.resize(palette->size());
    host.show();
    // The show notification paints the bars once the window is on screen.
    painted = QTest::qWaitForWindowExposed(&host) && QTest::qWaitFor([this] {
                  return statusText(palette) == QStringLiteral(" Paint operation complete.");
              });
}

YieldObserverGuard::~YieldObserverGuard() {
    forms::setYieldObserver({});
}

namespace {
uint32_t littleEndian(const QByteArray& data, qsizetype at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        const qsizetype index = at + i;
        value =
            (value << 8) | (index < data.size() ? static_cast<uint8_t>(data[index]) : uint8_t{0});
    }
    return value;
}
} // namespace

uint32_t le32(const QByteArray& data, qsizetype at) {
    return littleEndian(data, at, 4);
}
uint16_t le16(const QByteArray& data, qsizetype at) {
    return static_cast<uint16_t>(littleEndian(data, at, 2));
}
