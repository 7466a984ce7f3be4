#include "app/startuppreload.h"

#include <QDBusConnection>

#include <fontconfig/fontconfig.h>

namespace app::preload {

void loadFontConfiguration() {
    // A failure shows where Qt asks for the configuration again, on the
    // user-interface thread, as it would without this.
    FcInit();
}

void connectSessionBus() {
    // Qt keeps the default connection for the process: the bridge takes it
    // from there.
    QDBusConnection::sessionBus();
}

} // namespace app::preload
