#pragma once

#include "forms/runtimeerror.h"

#include <functional>

// Every event handler is entered through here. An error that leaves a handler
// is reported once and ends the program; nothing throws through Qt's own
// event dispatch.
namespace forms::eventboundary {

using ErrorHandler = std::function<void(const RuntimeError&)>;

void enter(const std::function<void()>& handler) noexcept;

// Replaces what happens to an error that leaves a handler; an empty handler
// restores the default (message box, then exit status 1).
void setErrorHandler(ErrorHandler handler);

QString reportText(const RuntimeError& error);

} // namespace forms::eventboundary
