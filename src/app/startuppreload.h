#pragma once

// Start-up waits on fontconfig reading the desktop's font configuration and
// font list, the costliest step before the window is mapped, which touches no
// widget, font or event. Started at the top of main on a short-lived thread
// of its own (std::jthread), it runs beside the connection to the display;
// the user-interface thread joins it before the first font is used, and Qt's
// font set-up then finds the configuration loaded. Fontconfig is thread-safe,
// but two threads asking for the configuration at once would each load it, so
// the join comes first.
namespace app::preload {

void loadFontConfiguration();

} // namespace app::preload
