#include "testsupport.h"

#include "forms/doevents.h"
#include "forms/eventboundary.h"
#include "forms/label.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <algorithm>
#include <cmath>

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

forms::PictureBox* toolBar(QWidget* palette) {
    return child<forms::PictureBox>(palette, QStringLiteral("picToolBar"));
}

forms::PictureBox* selectedSwatch(QWidget* palette) {
    return child<forms::PictureBox>(palette, QStringLiteral("picSelectedColor"));
}

forms::PictureBox* previewSwatch(QWidget* palette) {
    return child<forms::PictureBox>(palette, QStringLiteral("picColorPreview"));
}

forms::Label* title(QWidget* palette, int index) {
    return child<forms::Label>(palette, QStringLiteral("lblTitle(%1)").arg(index));
}

uint32_t expectedRampColor(int bar, int pos) {
    const uint32_t hueMasks[6] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFF00FF};
    if (bar == 6) {
        return static_cast<uint32_t>(std::min(pos / 2, 255)) * 0x010101;
    }
    const auto hue = static_cast<uint32_t>(std::min(pos, 255));
    const auto other = static_cast<uint32_t>(std::clamp(pos - 255, 0, 255));
    return ((hue * 0x010101) & hueMasks[bar]) | ((other * 0x010101) & ~hueMasks[bar] & 0xFFFFFF);
}

namespace {
// The band of a position covers the device rows from its upper edge, 511 - pos
// units down, to its lower edge, 512 - pos, and at least one row.
std::pair<int, int> bandRows(int pos, int rows) {
    const int first = static_cast<int>(std::floor((511 - pos) * rows / 512.0));
    const int end = std::max(first + 1, static_cast<int>(std::ceil((512 - pos) * rows / 512.0)));
    return {first, end};
}
} // namespace

int topRowOf(int pos, int rows) {
    return bandRows(pos, rows).first;
}

int positionShownOnRow(int row, int rows) {
    int shown = -1;
    for (int pos = 0; pos <= 512; ++pos) {
        const auto [first, end] = bandRows(pos, rows);
        if (row >= first && row < end) {
            shown = pos;
        }
    }
    return shown;
}

void hover(QWidget* control, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), control->mapToGlobal(QPointF(at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(control, &move);
}

void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* receiver = window->focusWidget() != nullptr ? window->focusWidget() : window;
    QTest::keyClick(receiver, key, modifiers);
}

QString statusText(QWidget* palette) {
    return child<forms::Label>(palette, QStringLiteral("lblStatusBar"))->caption();
}

PickState pickStateOf(PaletteProbe* palette) {
    return {statusText(palette), previewSwatch(palette)->backColor(), palette->mCurColor,
            palette->mCurX, palette->mCurY};
}

char* toString(const PickState& state) {
    return QTest::toString(QStringLiteral("\"%1\", preview %2, colour %3 at (%4, %5)")
                               .arg(state.status)
                               .arg(static_cast<uint32_t>(state.preview), 8, 16, QLatin1Char('0'))
                               .arg(static_cast<uint32_t>(state.color), 8, 16, QLatin1Char('0'))
                               .arg(state.x)
                               .arg(state.y));
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
