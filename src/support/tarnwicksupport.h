#pragma once

#include "forms/picture.h"
#include "forms/windowhandle.h"

#include <QString>

#include <cstdint>
#include <functional>

// The support library: window, resource and formatting services.
// Every function returns a status, negative on failure, and hands its result
// back through its last argument.
namespace tarnwick {

enum class SupportFunction {
    RegisterAppPath,
    IsInIDE,
    GetThunderMainHandle,
    SetWindowResIconAll,
    CenterFormEx,
    LoadResIcon,
    Hex4,
    FormatVersion,
};

const char* functionName(SupportFunction function);

int32_t tsRegisterAppPath();
int32_t tsIsInIDE(int16_t& inIDE);
int32_t tsGetThunderMainHandle(forms::windows::WindowHandle& handle);
int32_t tsSetWindowResIconAll(forms::windows::WindowHandle handle, const QString& iconName);
int32_t tsCenterFormEx(forms::windows::WindowHandle handle);
int32_t tsLoadResIcon(const QString& iconName, forms::Picture& icon);
int32_t tsHex4(int32_t value, QString& text);
int32_t tsFormatVersion(int32_t major, int32_t minor, int32_t revision, QString& text);

// The path tsRegisterAppPath recorded for this process; empty before.
QString registeredAppPath();

// Turns a failure status into the runtime error that abandons the caller.
void check(SupportFunction function, int32_t status);

// Sees every call as it starts; a negative answer makes that call fail with
// that status, without doing anything. An empty gate removes it.
using CallGate = std::function<int32_t(SupportFunction function)>;
void setCallGate(CallGate gate);

} // namespace tarnwick
