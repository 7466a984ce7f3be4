#pragma once

#include <functional>

namespace forms {

// Processes every pending event once, user input included, and returns.
void doEvents();

// Called at the start of every doEvents(); lets a test look at the program
// from inside a yield. An empty observer removes it.
void setYieldObserver(std::function<void()> observer);

} // namespace forms
