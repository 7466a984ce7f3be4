#pragma once

// Start-up waits on two things that touch no widget, font or event, and each
// is started on a short-lived thread of its own (std::jthread, joined when it
// goes) while the user-interface thread does its own work:
//
// - fontconfig reading the desktop's font configuration and font list, the
//   costliest step before the window is mapped. Started at the top of main,
//   it runs beside the connection to the display; the user-interface thread
//   joins it before the first font is used, and Qt's font set-up then finds
//   the configuration loaded. Fontconfig is thread-safe, but two threads
//   asking for the configuration at once would each load it, so the join
//   comes first.
// - the connection to the session bus, which Qt's accessibility bridge opens
//   at the first accessibility event, while the window is being built.
//   Started once the application object exists, it runs beside the window's
//   construction; should the bridge come first, it waits inside Qt for this
//   connection rather than making a second one.
namespace app::preload {

void loadFontConfiguration();
void connectSessionBus();

} // namespace app::preload
