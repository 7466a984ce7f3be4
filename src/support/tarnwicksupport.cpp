#include "support/tarnwicksupport.h"

#include "forms/resourcelibrary.h"
#include "forms/runtimeerror.h"
#include "forms/windowplacement.h"

#include <QCoreApplication>
#include <QWidget>

namespace tarnwick {

namespace {

constexpr int32_t Success = 0;
constexpr int32_t Failure = -1;

CallGate& callGate() {
    static CallGate gate;
    return gate;
}

QString& appPath() {
    static QString path;
    return path;
}

// Runs the body unless the gate refuses the call, and turns an error raised
// inside it into a failure status.
template <typename Body> int32_t guarded(SupportFunction function, Body body) {
    if (callGate()) {
        const int32_t status = callGate()(function);
        if (status < 0) {
            return status;
        }
    }
    try {
        return body();
    } catch (const forms::RuntimeError&) {
        return Failure;
    }
}

} // namespace

const char* functionName(SupportFunction function) {
    switch (function) {
    case SupportFunction::RegisterAppPath:
        return "tsRegisterAppPath";
    case SupportFunction::IsInIDE:
        return "tsIsInIDE";
    case SupportFunction::GetThunderMainHandle:
        return "tsGetThunderMainHandle";
    case SupportFunction::SetWindowResIconAll:
        return "tsSetWindowResIconAll";
    case SupportFunction::CenterFormEx:
        return "tsCenterFormEx";
    case SupportFunction::LoadResIcon:
        return "tsLoadResIcon";
    case SupportFunction::Hex4:
        return "tsHex4";
    case SupportFunction::FormatVersion:
        return "tsFormatVersion";
    }
    return "?";
}

int32_t tsRegisterAppPath() {
    return guarded(SupportFunction::RegisterAppPath, [] {
        appPath() = QCoreApplication::applicationFilePath();
        return Success;
    });
}

int32_t tsIsInIDE(int16_t& inIDE) {
    return guarded(SupportFunction::IsInIDE, [&] {
        inIDE = 0;
        return Success;
    });
}

int32_t tsGetThunderMainHandle(forms::windows::WindowHandle& handle) {
    return guarded(SupportFunction::GetThunderMainHandle, [&] {
        handle = forms::windows::Application;
        return Success;
    });
}

int32_t tsSetWindowResIconAll(forms::windows::WindowHandle handle, const QString& iconName) {
    return guarded(SupportFunction::SetWindowResIconAll, [&] {
        forms::windows::setIcon(handle, forms::resources::loadResPicture(
                                            iconName, forms::resources::PictureFormat::Icon));
        return Success;
    });
}

int32_t tsCenterFormEx(forms::windows::WindowHandle handle) {
    return guarded(SupportFunction::CenterFormEx, [&] {
        QWidget* window = forms::windows::windowOf(handle);
        if (window == nullptr) {
            return Failure;
        }
        forms::placement::centreOnScreen(window);
        return Success;
    });
}

int32_t tsLoadResIcon(const QString& iconName, forms::Picture& icon) {
    return guarded(SupportFunction::LoadResIcon, [&] {
        icon = forms::resources::loadResPicture(iconName, forms::resources::PictureFormat::Icon);
        return Success;
    });
}

int32_t tsHex4(int32_t value, QString& text) {
    return guarded(SupportFunction::Hex4, [&] {
        text = QStringLiteral("%1")
                   .arg(static_cast<uint32_t>(value), 8, 16, QLatin1Char('0'))
                   .toUpper();
        return Success;
    });
}

int32_t tsFormatVersion(int32_t major, int32_t minor, int32_t revision, QString& text) {
    return guarded(SupportFunction::FormatVersion, [&] {
        text = QStringLiteral("%1.%2.%3")
                   .arg(major)
                   .arg(minor, 2, 10, QLatin1Char('0'))
                   .arg(revision, 4, 10, QLatin1Char('0'));
        return Success;
    });
}

QString registeredAppPath() {
    return appPath();
}

void check(SupportFunction function, int32_t status) {
    if (status < 0) {
        throw forms::RuntimeError::supportFailure(functionName(function), status);
    }
}

void setCallGate(CallGate gate) {
    callGate() = std::move(gate);
}

} // namespace tarnwick
