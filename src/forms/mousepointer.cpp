#include "forms/mousepointer.h"

#include <QGuiApplication>

namespace forms::mousepointer {

namespace {

int16_t currentPointer = DefaultPointer;
std::optional<QCursor> dragPointer;
bool overriding = false;

// Puts on Qt's override stack the one pointer that should show, or takes ours
// off it.
void showPointer() {
    std::optional<QCursor> wanted = dragPointer;
    if (!wanted && currentPointer != DefaultPointer) {
        wanted = QCursor(currentPointer == Hourglass ? Qt::WaitCursor : Qt::ArrowCursor);
    }
    if (!wanted) {
        if (overriding) {
            QGuiApplication::restoreOverrideCursor();
            overriding = false;
        }
        return;
    }
    if (overriding) {
        QGuiApplication::changeOverrideCursor(*wanted);
    } else {
        QGuiApplication::setOverrideCursor(*wanted);
        overriding = true;
    }
}

} // namespace

void setMousePointer(int16_t pointer) {
    currentPointer = pointer;
    showPointer();
}

int16_t mousePointer() {
    return currentPointer;
}

void setDragPointer(const std::optional<QCursor>& pointer) {
    dragPointer = pointer;
    showPointer();
}

} // namespace forms::mousepointer
