#include "app/startuppreload.h"

#include <QDBusConnection>

#include <fontconfig/fontconfig.h>

namespace app::preload {

void loadFontConfiguration() {
    // The result is Qt's to judge: it asks again on the user-interface
    // thread and finds the configuration loaded, or fails as it would have.
    FcInit();
}

void connectSessionBus() {
    // Qt keeps the default connection for the process: the bridge takes it
    // from there.
    QDBusConnection::sessionBus();
}

} // namespace app::preload
