#include "forms/screen.h"

#include <QCursor>
#include <QGuiApplication>

namespace forms::screen {

namespace {
int16_t currentPointer = DefaultPointer;
}

void setMousePointer(int16_t pointer) {
    const bool hadOverride = currentPointer != DefaultPointer;
    currentPointer = pointer;
    if (pointer == DefaultPointer) {
        if (hadOverride) {
            QGuiApplication::restoreOverrideCursor();
        }
        return;
    }
    const QCursor cursor(pointer == Hourglass ? Qt::WaitCursor : Qt::ArrowCursor);
    if (hadOverride) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
    }
}

int16_t mousePointer() {
    return currentPointer;
}

} // namespace forms::screen
