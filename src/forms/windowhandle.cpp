#include "forms/windowhandle.h"

#include <QApplication>
#include <QPointer>

#include <map>

namespace forms::windows {

namespace {

std::map<WindowHandle, QPointer<QWidget>>& registry() {
    static std::map<WindowHandle, QPointer<QWidget>> windows;
    return windows;
}

Picture& applicationIcon() {
    static Picture icon;
    return icon;
}

constexpr const char* IconProperty = "forms.bigIcon";

} // namespace

WindowHandle handleOf(QWidget* window) {
    static WindowHandle next = 1;
    for (const auto& [handle, widget] : registry()) {
        if (widget == window) {
            return handle;
        }
    }
    registry()[next] = window;
    return next++;
}

QWidget* windowOf(WindowHandle handle) {
    const auto found = registry().find(handle);
    return found == registry().end() ? nullptr : found->second.data();
}

void setIcon(WindowHandle handle, const Picture& icon) {
    if (handle == Application) {
        applicationIcon() = icon;
        QApplication::setWindowIcon(QIcon(icon.pixmap()));
        return;
    }
    if (QWidget* window = windowOf(handle)) {
        window->setWindowIcon(QIcon(icon.pixmap()));
        window->setProperty(IconProperty, icon.image());
    }
}

Picture bigIcon(WindowHandle handle) {
    if (handle == Application) {
        return applicationIcon();
    }
    QWidget* window = windowOf(handle);
    if (window == nullptr || !window->property(IconProperty).isValid()) {
        return {};
    }
    return {Picture::Kind::Icon, window->property(IconProperty).value<QImage>()};
}

WindowHandle activeForm() {
    // Without a window manager nothing is ever activated; the visible form is
    // then the one the user works with.
    const QWidget* active = QApplication::activeWindow();
    for (const auto& [handle, widget] : registry()) {
        if (widget != nullptr && (widget == active || (active == nullptr && widget->isVisible()))) {
            return handle;
        }
    }
    return Application;
}

} // namespace forms::windows
