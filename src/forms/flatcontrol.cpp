#include "forms/flatcontrol.h"

#include "forms/accessiblereadoutparent.h"
#include "forms/devicepixels.h"
#include "forms/keyboard.h"
#include "forms/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace forms {

namespace {

// Reads the role from the control each time, so a role given after the
// interface was first created still counts.
class AccessibleFlatControl : public AccessibleReadoutParent {
  public:
    explicit AccessibleFlatControl(FlatControl* control) : AccessibleReadoutParent(control) {}
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
        AccessibleReadoutParent::installForPlainWindows();
        return true;
    }();
    Q_UNUSED(installed);
}

constexpr const char* KeyboardCuesProperty = "keyboardCues";
// How far outside a control its container draws the focus ring and the
// position mark, in device-independent pixels: within the narrowest gap
// between two controls.
constexpr int FocusRingWidth = 1;
constexpr int PositionMarkDepth = 3;

void fillFrame(QPainter& painter, const QRect& frame, const QColor& color) {
    painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), 1), color);
    painter.fillRect(QRect(frame.left(), frame.bottom(), frame.width(), 1), color);
    painter.fillRect(QRect(frame.left(), frame.top(), 1, frame.height()), color);
    painter.fillRect(QRect(frame.right(), frame.top(), 1, frame.height()), color);
}

// Two small triangles in device pixels, one on each side of the control,
// their tips next to it at the device row that holds y.
void paintPositionMark(QPainter& painter, const QRect& control, double y, double ratio,
                       const QColor& color) {
    painter.save();
    const QTransform toDevice = painter.deviceTransform();
    painter.setWorldTransform(toDevice.inverted());
    const int row = devicepixels::pixelAt(toDevice.map(QPointF(0, control.top() + y)).y());
    const auto edge = [&toDevice](int x) {
        return devicepixels::edge(toDevice.map(QPointF(x, 0)).x());
    };
    const int left = edge(control.left());
    const int right = edge(control.left() + control.width());
    const int depth = std::max(PositionMarkDepth, static_cast<int>(PositionMarkDepth * ratio));
    for (int k = 0; k < depth; ++k) {
        painter.fillRect(QRect(left - 1 - k, row - k, 1, 2 * k + 1), color);
        painter.fillRect(QRect(right + k, row - k, 1, 2 * k + 1), color);
    }
    painter.restore();
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
        fillFrame(painter, rect(),
                  palette().color(showsFocusMark() ? QPalette::Highlight : QPalette::Shadow));
    }
    paintFocusMarkOfChild(painter);
}

// The container draws what lies outside a focused child: the ring around it
// and the position mark beside it. Children are drawn over their container,
// so neither can cover any child's pixels.
void FlatControl::paintFocusMarkOfChild(QPainter& painter) const {
    const auto* focused = dynamic_cast<const FlatControl*>(QApplication::focusWidget());
    if (focused == nullptr || focused->parentWidget() != this || !focused->showsFocusMark()) {
        return;
    }
    const QRect control = focused->geometry();
    fillFrame(painter,
              control.adjusted(-FocusRingWidth, -FocusRingWidth, FocusRingWidth, FocusRingWidth),
              palette().color(QPalette::Highlight));
    if (const auto y = focused->positionMarkY()) {
        paintPositionMark(painter, control, *y, devicePixelRatioF(),
                          resolved(SystemColor::WindowText));
    }
}

bool FlatControl::keyboardCuesShown(const QWidget* inWindow) {
    return inWindow->window()->property(KeyboardCuesProperty).toBool();
}

bool FlatControl::showsFocusMark() const {
    return hasFocus() && keyboardCuesShown(this);
}

void FlatControl::showKeyboardCues() {
    QWidget* top = window();
    if (top->property(KeyboardCuesProperty).toBool()) {
        return;
    }
    top->setProperty(KeyboardCuesProperty, true);
    if (auto* focused = dynamic_cast<FlatControl*>(top->focusWidget())) {
        focused->updateFocusMarks();
    }
}

void FlatControl::updateFocusMarks() {
    update();
    updateContainerMarks();
}

void FlatControl::updateContainerMarks() {
    if (QWidget* container = parentWidget()) {
        const int reach = PositionMarkDepth + 1;
        const QRect control = geometry();
        container->update(
            QRegion(control.adjusted(-reach, -reach, reach, reach)).subtracted(control));
    }
}

bool FlatControl::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress && keyboard::isNavigationKey(keyboard::virtualKeyCode(
                                                 static_cast<const QKeyEvent*>(event)->key()))) {
        showKeyboardCues();
    }
    return QWidget::event(event);
}

void FlatControl::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        showKeyboardCues();
    }
    if (keyboardCuesShown(this)) {
        updateFocusMarks();
    }
    QWidget::focusInEvent(event);
}

void FlatControl::focusOutEvent(QFocusEvent* event) {
    if (keyboardCuesShown(this)) {
        updateFocusMarks();
    }
    QWidget::focusOutEvent(event);
}

void FlatControl::paintContent(QPainter& /*painter*/, const QRect& /*dirty*/) {}

} // namespace forms
