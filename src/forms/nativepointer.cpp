#include "forms/nativepointer.h"

#include <QScreen>
#include <QWindow>
#include <qpa/qplatformcursor.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>

namespace forms::nativepointer {

std::optional<QPoint> inWindow(const QWindow* window) {
    if (window == nullptr || window->handle() == nullptr || window->screen() == nullptr ||
        !window->isExposed()) {
        return std::nullopt;
    }
    const QPlatformCursor* cursor = window->screen()->handle()->cursor();
    if (cursor == nullptr) {
        return std::nullopt;
    }
    return cursor->pos() - window->handle()->geometry().topLeft();
}

} // namespace forms::nativepointer
