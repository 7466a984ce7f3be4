#pragma once

#include <QObject>
#include <QWidget>

namespace forms {

// Whether an object is a window that takes the user's input for itself as it
// opens: a modal box or a pop-up menu. What waits for input elsewhere (a drag,
// a screen pick) ends when one opens.
inline bool isModalOrPopup(const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget != nullptr && widget->isWindow() &&
           (widget->windowType() == Qt::Popup || widget->isModal());
}

} // namespace forms
