#pragma once

// The start-up module: Main prepares the process and shows the main window;
// ShowAbout shows the about box and returns when it is closed.
namespace modMain {

void Main();
void ShowAbout();

} // namespace modMain
