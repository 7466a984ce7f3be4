#include "app/startuppreload.h"

#include <fontconfig/fontconfig.h>

namespace app::preload {

void loadFontConfiguration() {
    // The result is Qt's to judge: it asks again on the user-interface
    // thread and finds the configuration loaded, or fails as it would have.
    FcInit();
}

} // namespace app::preload
