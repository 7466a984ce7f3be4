#include "app/appinfo.h"
#include "app/commandline.h"
#include "app/frmmain.h"
#include "app/modmain.h"
#include "app/platformstartguard.h"
#include "app/startuppreload.h"
#include "forms/eventboundary.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

namespace {

QStringList argumentsAfterProgram(int argc, char* argv[]) {
    QStringList arguments;
    for (int index = 1; index < argc; ++index) {
        arguments << QString::fromLocal8Bit(argv[index]);
    }
    return arguments;
}

// Qt 6.4's Wayland platform can hang for ever while it shuts down: the last
// pass of the event loop (the one that delivers the key or click that ends
// the program) prepares a read of the display for Qt's event thread, which
// may then quit without cancelling it, and Qt's other Wayland thread then
// waits for that read without end. Nothing is left to tidy once the window
// has closed (the compositor drops the clipboard and the window with the
// connection), so on Wayland the program ends there without Qt's shutdown,
// and without destroying the closed window either: Qt 6.4 runs the window's
// frame callbacks on that other thread, and destroying the window while one
// runs there destroys a locked mutex.
[[noreturn]] void endWithoutPlatformShutdown(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace

int main(int argc, char* argv[]) {
    if (const auto answer = commandline::answerBeforeQt(argumentsAfterProgram(argc, argv))) {
        return commandline::deliver(*answer);
    }
    std::jthread fontConfiguration(app::preload::loadFontConfiguration);
    std::optional<PlatformStartGuard> platformStart(std::in_place);
    // Takes Qt's own options out of argc and argv.
    QApplication application(argc, argv);
    platformStart.reset();
    if (const auto answer = commandline::answerAfterQt(argumentsAfterProgram(argc, argv))) {
        return commandline::deliver(*answer);
    }
    app::installIdentity();
    fontConfiguration.join();
    forms::eventboundary::enter(modMain::Main);
    // The window may already be gone: closed during the start-up paint, or
    // never shown at all. Once it is unloaded the program ends, even when a
    // window of its own (a screen pick's, a menu) was still up as it closed,
    // which Qt's last-window rule does not count on.
    int status = 0;
    if (isFrmMainLoaded()) {
        frmMain().onUnloaded = [] { QCoreApplication::quit(); };
        status = QApplication::exec();
    }
    if (QGuiApplication::platformName() == QStringLiteral("wayland")) {
        endWithoutPlatformShutdown(status);
    }
    releaseFrmMain();
    return status;
}
