#include "appinfo.h"
#include "eventboundary.h"
#include "frmmain.h"
#include "modmain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    app::installIdentity();
    forms::eventboundary::enter(modMain::Main);
    // The window may already be gone: closed during the start-up paint, or
    // never shown at all.
    const int status = isFrmMainLoaded() ? QApplication::exec() : 0;
    releaseFrmMain();
    return status;
}
