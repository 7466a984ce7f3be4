// Launch benchmark: the program's own start-up against a bare Qt window of the
// same size, launched alternately by this process into the same X display.
//
//   launchbench [RUNS]   both RUNS times (default 21); prints medians
//   launchbench bare     one bare window, until its first expose
//   launchbench palette  one start-up (modMain::Main), until the bars are done
//
// "Launch" is read just before the child is spawned. "Mapped" is when this
// process, selecting SubstructureNotify on the root window, sees the server map
// the child's window: the window is on screen then, however busy the child
// is. "Bars complete" is when the child paints the status line reading
// " Paint operation complete.". Every time is CLOCK_MONOTONIC, shared by both
// processes. The children also report when they handle their first expose,
// and the palette its peak resident memory at the end.

#include "app/frmmain.h"
#include "app/modmain.h"
#include "app/startuppreload.h"
#include "benchfigures.h"
#include "forms/eventboundary.h"
#include "forms/label.h"
#include "forms/twips.h"
#include "palette/palettelayout.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace {

const QString PaintDoneText = QStringLiteral(" Paint operation complete.");
constexpr int GiveUpMs = 10000;

long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Notes the first expose of a top-level window and, for the palette, the first
// paint of the status line once it reads the completion text; quits when it
// has what it waits for.
class StartUpWatch : public QObject {
  public:
    explicit StartUpWatch(bool waitForPaint) : mWaitForPaint(waitForPaint) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && mExposedNs == 0) {
            const auto* window = qobject_cast<QWindow*>(watched);
            if (window != nullptr && window->isTopLevel() && window->isExposed()) {
                mExposedNs = monotonicNs();
            }
        } else if (event->type() == QEvent::Paint && mCompleteNs == 0 && mWaitForPaint) {
            const auto* label = dynamic_cast<forms::Label*>(watched);
            if (label != nullptr && label->objectName() == QLatin1String("lblStatusBar") &&
                label->caption() == PaintDoneText) {
                mCompleteNs = monotonicNs();
                mPeakKiB = bench::statusKiB("VmHWM:");
            }
        }
        if (!mQuitting && done()) {
            mQuitting = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

    bool done() const { return mExposedNs != 0 && (!mWaitForPaint || mCompleteNs != 0); }

    void report() const {
        std::printf("exposed %lld\n", mExposedNs);
        if (mWaitForPaint) {
            std::printf("complete %lld\npeak %ld\n", mCompleteNs, mPeakKiB);
        }
    }

  private:
    bool mWaitForPaint;
    long long mExposedNs = 0;
    long long mCompleteNs = 0;
    long mPeakKiB = 0;
    bool mQuitting = false;
};

int runChild(int argc, char* argv[], bool palette) {
    // The palette starts up as the program does, with its preloads.
    std::jthread fontConfiguration;
    if (palette) {
        fontConfiguration = std::jthread(app::preload::loadFontConfiguration);
    }
    QApplication application(argc, argv);
    StartUpWatch watch(palette);
    application.installEventFilter(&watch);
    QTimer::singleShot(GiveUpMs, &application, &QCoreApplication::quit);
    std::optional<QWidget> bare;
    if (palette) {
        fontConfiguration.join();
        forms::eventboundary::enter(modMain::Main);
    } else {
        bare.emplace();
        bare->setFixedSize(forms::twips::toPixelSize(palette::layout::ControlWidth,
                                                     palette::layout::ControlHeight));
        bare->show();
    }
    if (!watch.done()) {
        QApplication::exec();
    }
    application.removeEventFilter(&watch);
    if (palette) {
        releaseFrmMain();
    }
    if (!watch.done()) {
        std::fprintf(stderr, "launchbench: gave up after %d ms\n", GiveUpMs);
        return EXIT_FAILURE;
    }
    watch.report();
    return 0;
}

// Sees, from outside the launched program, the X server map its window: the
// MapNotify of a window that becomes a child of the root window.
class MapWatch {
  public:
    MapWatch() : mConnection(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(mConnection) != 0) {
            return;
        }
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(mConnection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(mConnection, screen->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(mConnection);
    }
    ~MapWatch() { xcb_disconnect(mConnection); }
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    bool connected() const { return xcb_connection_has_error(mConnection) == 0; }

    // Forgets what happened before a launch.
    void drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(mConnection)) {
            std::free(event);
        }
    }

    // The time the next map is seen, or 0 if none comes within the time limit.
    long long waitForMap() {
        const long long giveUpNs = monotonicNs() + GiveUpMs * 1000000LL;
        pollfd connection{xcb_get_file_descriptor(mConnection), POLLIN, 0};
        while (monotonicNs() < giveUpNs) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(mConnection)) {
                const bool mapped =
                    (event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                    reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect == 0;
                std::free(event);
                if (mapped) {
                    return monotonicNs();
                }
            }
            if (xcb_connection_has_error(mConnection) != 0) {
                return 0;
            }
            poll(&connection, 1, 100);
        }
        return 0;
    }

  private:
    xcb_connection_t* mConnection;
};

struct Launch {
    double mappedMs = 0;
    double exposedMs = 0;
    double completeMs = 0;
    long peakKiB = 0;
};

// Spawns this program as one variant and reads its report.
bool launch(const char* self, const char* variant, MapWatch& maps, Launch& result) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    char* childArgs[] = {const_cast<char*>(self), const_cast<char*>(variant), nullptr};
    pid_t child = 0;
    maps.drain();
    const long long launchedNs = monotonicNs();
    const int spawned = posix_spawn(&child, self, &actions, nullptr, childArgs, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return false;
    }
    const long long mappedNs = maps.waitForMap();
    // The report is a few lines, written as the child ends: it waits in the
    // pipe, which a process the child started may still hold open.
    int status = 0;
    waitpid(child, &status, 0);
    fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
    std::string output;
    char buffer[256];
    ssize_t count = 0;
    while ((count = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, static_cast<size_t>(count));
    }
    close(pipeEnds[0]);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || mappedNs == 0) {
        return false;
    }
    long long exposedNs = 0;
    long long completeNs = 0;
    std::sscanf(output.c_str(), "exposed %lld complete %lld peak %ld", &exposedNs, &completeNs,
                &result.peakKiB);
    const auto sinceLaunch = [launchedNs](long long ns) {
        return ns == 0 ? 0.0 : static_cast<double>(ns - launchedNs) / 1e6;
    };
    result.mappedMs = sinceLaunch(mappedNs);
    result.exposedMs = sinceLaunch(exposedNs);
    result.completeMs = sinceLaunch(completeNs);
    return true;
}

int runLauncher(const char* self, int runs) {
    MapWatch maps;
    if (!maps.connected()) {
        std::fprintf(stderr, "launchbench: no X display\n");
        return EXIT_FAILURE;
    }
    std::vector<double> bareMapped;
    std::vector<double> bareExposed;
    std::vector<double> paletteMapped;
    std::vector<double> paletteExposed;
    std::vector<double> ratio;
    std::vector<double> complete;
    std::vector<double> completeAfterMapped;
    std::vector<double> peakKiB;
    for (int run = 0; run < runs; ++run) {
        // Alternate which goes first, so neither always follows the other.
        Launch bare;
        Launch palette;
        const bool bareFirst = run % 2 == 0;
        if (!launch(self, bareFirst ? "bare" : "palette", maps, bareFirst ? bare : palette) ||
            !launch(self, bareFirst ? "palette" : "bare", maps, bareFirst ? palette : bare)) {
            std::fprintf(stderr, "launchbench: a launch failed\n");
            return EXIT_FAILURE;
        }
        bareMapped.push_back(bare.mappedMs);
        bareExposed.push_back(bare.exposedMs);
        paletteMapped.push_back(palette.mappedMs);
        paletteExposed.push_back(palette.exposedMs);
        ratio.push_back(palette.mappedMs / bare.mappedMs);
        complete.push_back(palette.completeMs);
        completeAfterMapped.push_back(palette.completeMs - palette.mappedMs);
        peakKiB.push_back(static_cast<double>(palette.peakKiB));
    }
    std::printf("bare window: mapped %.1f ms after launch (first expose handled at %.1f ms)\n",
                bench::median(bareMapped), bench::median(bareExposed));
    std::printf("palette: mapped %.1f ms after launch, %.2fx the bare window (first expose "
                "handled at %.1f ms)\n",
                bench::median(paletteMapped), bench::median(ratio), bench::median(paletteExposed));
    std::printf("palette: bars complete %.1f ms after launch, %.1f ms after mapping\n",
                bench::median(complete), bench::median(completeAfterMapped));
    std::printf("palette: peak resident memory at that point %.0f kB (%.1f MiB)\n",
                bench::median(peakKiB), bench::median(peakKiB) / 1024.0);
    std::printf("(medians of %d interleaved launches of each)\n", runs);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], "bare") == 0) {
        return runChild(argc, argv, false);
    }
    if (argc == 2 && std::strcmp(argv[1], "palette") == 0) {
        return runChild(argc, argv, true);
    }
    const int runs = argc == 2 ? std::atoi(argv[1]) : 21;
    if (runs < 1) {
        std::fprintf(stderr, "usage: launchbench [RUNS] | bare | palette\n");
        return EXIT_FAILURE;
    }
    return runLauncher("/proc/self/exe", runs);
}
