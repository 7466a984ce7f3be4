#include "forms/accessiblereadoutparent.h"

#include "forms/accessiblereadout.h"

#include <QWidget>

namespace forms {

namespace {

QAccessibleInterface* plainWindowInterface(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || !widget->isWindow() || className != QLatin1String("QWidget")) {
        return nullptr;
    }
    return new AccessibleReadoutParent(widget);
}

} // namespace

AccessibleReadoutParent::AccessibleReadoutParent(QWidget* widget) : QAccessibleWidget(widget) {}

int AccessibleReadoutParent::childCount() const {
    return QAccessibleWidget::childCount() + static_cast<int>(readouts().size());
}

QAccessibleInterface* AccessibleReadoutParent::child(int index) const {
    const int own = QAccessibleWidget::childCount();
    return index < own ? QAccessibleWidget::child(index) : readouts().value(index - own, nullptr);
}

int AccessibleReadoutParent::indexOfChild(const QAccessibleInterface* child) const {
    const int own = QAccessibleWidget::indexOfChild(child);
    if (own >= 0) {
        return own;
    }
    const auto at = readouts().indexOf(const_cast<QAccessibleInterface*>(child));
    return at < 0 ? -1 : QAccessibleWidget::childCount() + static_cast<int>(at);
}

void AccessibleReadoutParent::installForPlainWindows() {
    static const bool installed = [] {
        QAccessible::installFactory(plainWindowInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

QList<QAccessibleInterface*> AccessibleReadoutParent::readouts() const {
    return AccessibleReadout::readoutsOf(static_cast<const QWidget*>(object()));
}

} // namespace forms
