// Benchmark of picking a colour from the screen, on X11: Ctrl+P to the
// cross-hair shown over every screen, the pointer moved by the X server to
// the magnifier repainted on the screen, and the resident memory a pick adds
// while it runs and after it ends, with the heap memory still in use after
// each pick (a copy not given back would grow it).
#include "benchfigures.h"
#include "palette/colorpalette.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>

#include <malloc.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::vector<QWidget*> overlays() {
    std::vector<QWidget*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QStringLiteral("screenPickOverlay") && widget->isVisible()) {
            shown.push_back(widget);
        }
    }
    return shown;
}

// Counts the pointer moves a widget is told of.
class MoveCounter : public QObject {
  public:
    int moves = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::MouseMove) {
            ++moves;
        }
        return false;
    }
};

// Waits until the X server has done everything asked of it so far.
void roundTrip(xcb_connection_t* connection) {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) {
        std::fprintf(stderr, "screenpickbench needs X11 (QT_QPA_PLATFORM=xcb)\n");
        return 2;
    }
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

    QWidget host;
    auto* palette = new ColorPalette([] {}, &host);
    host.resize(palette->size());
    host.show();
    if (!QTest::qWaitForWindowExposed(&host)) {
        std::fprintf(stderr, "the window was never exposed\n");
        return 1;
    }
    QTest::qWait(200);
    const long before = bench::statusKiB("VmRSS:");

    constexpr int Moves = 300;
    std::vector<double> micros;
    std::vector<double> startMillis;
    long during = 0;
    std::vector<long> afterEach;
    std::vector<long> heapInUse;
    constexpr int Picks = 6;
    for (int round = 0; round < Picks; ++round) {
        QElapsedTimer starting;
        starting.start();
        palette->PickFromScreen();
        const std::vector<QWidget*> shownOverlays = overlays();
        for (QWidget* each : shownOverlays) {
            if (!QTest::qWaitForWindowExposed(each)) {
                std::fprintf(stderr, "a cross-hair was never shown\n");
                return 1;
            }
        }
        roundTrip(connection);
        startMillis.push_back(static_cast<double>(starting.nsecsElapsed()) / 1e6);
        // The pointer moves over the primary screen, whose overlay moves its
        // magnifier as it handles the move.
        const auto onPrimary =
            std::find_if(shownOverlays.begin(), shownOverlays.end(), [](const QWidget* each) {
                return each->screen() == QGuiApplication::primaryScreen();
            });
        if (onPrimary == shownOverlays.end()) {
            std::fprintf(stderr, "no cross-hair over the primary screen\n");
            return 1;
        }
        QWidget* shown = *onPrimary;
        MoveCounter counter;
        shown->installEventFilter(&counter);
        for (int i = 0; i < Moves; ++i) {
            const int moves = counter.moves;
            QElapsedTimer timer;
            timer.start();
            xcb_warp_pointer(connection, XCB_NONE, root, 0, 0, 0, 0,
                             static_cast<int16_t>(300 + (i % 40) * 3),
                             static_cast<int16_t>(200 + (i % 30) * 5));
            xcb_flush(connection);
            while (counter.moves == moves) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            }
            // The move has been handled once the events are; the magnifier is
            // shown once the server has what the handler sent.
            QCoreApplication::processEvents();
            roundTrip(connection);
            micros.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
        }
        during = std::max(during, bench::statusKiB("VmRSS:"));
        shown->removeEventFilter(&counter);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(shown, &escape);
        QTest::qWait(100);
        afterEach.push_back(bench::statusKiB("VmRSS:"));
        heapInUse.push_back(static_cast<long>(mallinfo2().uordblks / 1024));
    }
    const long after = bench::statusKiB("VmRSS:");
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens()) {
        desktop |= QRect(screen->geometry().topLeft(),
                         screen->geometry().size() * screen->devicePixelRatio());
    }
    std::printf("screen pick on %s, %lld screen(s), %dx%d device pixels in all: Ctrl+P to "
                "cross-hair shown, median of %zu: %.1f ms\n",
                qPrintable(QGuiApplication::platformName()),
                static_cast<long long>(QGuiApplication::screens().size()), desktop.width(),
                desktop.height(), startMillis.size(), bench::median(startMillis));
    std::printf("screen pick on %s: pointer moved to magnifier repainted, median of %zu: %.0f "
                "µs\n",
                qPrintable(QGuiApplication::platformName()), micros.size(), bench::median(micros));
    std::printf("screen pick: resident memory %ld KiB before, %ld KiB while picking (%+ld KiB), "
                "%ld KiB after %d picks (%+ld KiB)\n",
                before, during, during - before, after, Picks, after - before);
    std::printf("screen pick: after each pick, resident / heap in use (KiB):");
    for (std::size_t i = 0; i < afterEach.size(); ++i) {
        std::printf(" %ld/%ld", afterEach[i], heapInUse[i]);
    }
    std::printf("\n");
    return 0;
}
