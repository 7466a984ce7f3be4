// Benchmarks of the palette control: GetColor, the whole PaintBars, one pick,
// and a soak of picks and drops. Run on whatever Qt platform is selected
// (offscreen, or xcb under Xvfb); every figure is a median of several runs.
//
//   palettebench getcolor | paint | pick | soak

#include "benchfigures.h"
#include "forms/picturebox.h"
#include "palette/colorpalette.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

forms::PictureBox* bar(QWidget* palette, int index) {
    return palette->findChild<forms::PictureBox*>(QStringLiteral("picColorBar(%1)").arg(index));
}

struct ShownPalette {
    QWidget host;
    ColorPalette* palette = new ColorPalette([] {}, &host);
    ShownPalette() {
        host.resize(palette->size());
        host.show();
        if (!QTest::qWaitForWindowExposed(&host)) {
            std::fprintf(stderr, "the window was never exposed\n");
        }
    }
};

void sendMove(QWidget* target, QPointF at) {
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

int benchGetColor() {
    const ColorPalette palette([] {});
    std::vector<double> runs;
    int64_t checksum = 0;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (int repeat = 0; repeat < 200; ++repeat) {
            for (int b = 0; b < 7; ++b) {
                for (int pos = 0; pos <= 512; ++pos) {
                    checksum += palette.GetColor(b, pos).value_or(0);
                }
            }
        }
        runs.push_back(static_cast<double>(timer.nsecsElapsed()) / (200.0 * 7 * 513));
    }
    std::printf("GetColor: %.1f ns per call (median of 15 runs; checksum %lld)\n",
                bench::median(runs), static_cast<long long>(checksum));
    return 0;
}

int benchPaint() {
    ShownPalette shown;
    std::vector<double> paints;
    std::vector<double> fills;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer timer;
        timer.start();
        shown.palette->PaintBars();
        paints.push_back(timer.nsecsElapsed() / 1e6);

        // The floor: the same pixels written straight into memory.
        std::vector<QImage> images;
        for (int b = 0; b < 7; ++b) {
            images.push_back(bar(shown.palette, b)->image());
        }
        timer.restart();
        for (int b = 0; b < 7; ++b) {
            QImage& image = images[static_cast<size_t>(b)];
            for (int row = 0; row < image.height(); ++row) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
                std::fill(line, line + image.width(), qRgb(row, b, 255 - row));
            }
        }
        fills.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("PaintBars (3591 bands, 3591 yields) on %s: %.2f ms; memory fill of the same "
                "pixels: %.3f ms (medians of 9 runs)\n",
                qPrintable(QGuiApplication::platformName()), bench::median(paints),
                bench::median(fills));
    return 0;
}

int benchPick() {
    ShownPalette shown;
    constexpr int Moves = 10000;
    std::vector<double> picks;
    std::vector<double> repaints;
    picks.reserve(Moves);
    repaints.reserve(Moves);
    for (int i = 0; i < Moves; ++i) {
        forms::PictureBox* target = bar(shown.palette, i % 7);
        const QPointF at(2 + (i * 7) % 40, 2 + (i * 13) % 240);
        QElapsedTimer timer;
        timer.start();
        sendMove(target, at);
        picks.push_back(timer.nsecsElapsed() / 1e3);
        QCoreApplication::processEvents();
        repaints.push_back(timer.nsecsElapsed() / 1e3);
    }
    std::printf("pick on %s: move event to PickColor done %.1f us; to status line and preview "
                "repainted %.1f us (medians of %d moves)\n",
                qPrintable(QGuiApplication::platformName()), bench::median(picks),
                bench::median(repaints), Moves);
    return 0;
}

int benchSoak() {
    ShownPalette shown;
    auto* swatch = shown.palette->findChild<forms::PictureBox*>(QStringLiteral("picSelectedColor"));
    const auto pickSome = [&](int count) {
        for (int i = 0; i < count; ++i) {
            sendMove(bar(shown.palette, i % 7), QPointF(2 + i % 40, 2 + (i * 13) % 240));
            if (i % 64 == 0) {
                QCoreApplication::processEvents();
            }
        }
    };
    const auto dropSome = [&](int count) {
        for (int i = 0; i < count; ++i) {
            forms::PictureBox* source = bar(shown.palette, i % 7);
            QTest::mousePress(source, Qt::LeftButton, {}, QPoint(20, 20 + i % 200));
            const QPoint target = swatch->mapTo(&shown.host, swatch->rect().center());
            QTest::mouseRelease(source, Qt::LeftButton, {}, source->mapFrom(&shown.host, target));
        }
    };
    pickSome(10000);
    dropSome(100);
    QCoreApplication::processEvents();
    const long before = bench::statusKiB("VmRSS:");
    pickSome(100000);
    dropSome(1000);
    QCoreApplication::processEvents();
    const long after = bench::statusKiB("VmRSS:");
    std::printf("soak on %s: 100000 picks and 1000 drops; resident memory %ld KiB before, %ld "
                "KiB after (%+ld KiB)\n",
                qPrintable(QGuiApplication::platformName()), before, after, after - before);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const std::string which = argc > 1 ? argv[1] : "";
    if (which == "getcolor") {
        return benchGetColor();
    }
    if (which == "paint") {
        return benchPaint();
    }
    if (which == "pick") {
        return benchPick();
    }
    if (which == "soak") {
        return benchSoak();
    }
    std::fprintf(stderr, "usage: palettebench getcolor|paint|pick|soak\n");
    return 2;
}
