#include "flatcontrol.h"

#include "twips.h"

#include <QAccessibleWidget>
#include <QPaintEvent>
#include <QPainter>

namespace forms {

namespace {

// Reads the role from the control each time, so a role given after the
// interface was first created still counts.
class AccessibleFlatControl : public QAccessibleWidget {
  public:
    explicit AccessibleFlatControl(FlatControl* control) : QAccessibleWidget(control) {}
    QAccessible::Role role() const override {
        return static_cast<const FlatControl*>(object())->accessibleRole();
    }
};

QAccessibleInterface* accessibleFlatControl(const QString& /*className*/, QObject* object) {
    auto* control = dynamic_cast<FlatControl*>(object);
    return control == nullptr ? nullptr : new AccessibleFlatControl(control);
}

void installAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFlatControl);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

FlatControl::FlatControl(QWidget* parent) : QWidget(parent) {
    installAccessibleFactory();
}

void FlatControl::setBackColor(ColorValue color) {
    mBackColor = validatedColor(color);
    backColorChanged();
    update();
}

void FlatControl::setForeColor(ColorValue color) {
    mForeColor = validatedColor(color);
    update();
}

void FlatControl::setBorder(bool border) {
    mBorder = border;
    update();
}

QRect FlatControl::clientRect() const {
    return mBorder ? rect().adjusted(1, 1, -1, -1) : rect();
}

void placeInTwips(QWidget* control, int left, int top, int width, int height) {
    QPoint origin;
    if (const auto* container = dynamic_cast<const FlatControl*>(control->parentWidget())) {
        origin = container->clientRect().topLeft();
    }
    control->setGeometry(
        QRect(origin + twips::toPixels(left, top), twips::toPixelSize(width, height)));
}

void FlatControl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), resolved(mBackColor));
    painter.save();
    paintContent(painter, event->rect());
    painter.restore();
    if (mBorder) {
        // One logical pixel on each side, so it scales with the rest.
        const QColor line = palette().color(QPalette::Shadow);
        const QRect all = rect();
        painter.fillRect(QRect(all.left(), all.top(), all.width(), 1), line);
        painter.fillRect(QRect(all.left(), all.bottom(), all.width(), 1), line);
        painter.fillRect(QRect(all.left(), all.top(), 1, all.height()), line);
        painter.fillRect(QRect(all.right(), all.top(), 1, all.height()), line);
    }
}

void FlatControl::paintContent(QPainter& /*painter*/, const QRect& /*dirty*/) {}

} // namespace forms
