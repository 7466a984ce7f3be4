#include "forms/automaticdrag.h"

#include "forms/screen.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace forms::automaticdrag {

namespace {

// Watches the whole application while a drag is under way, for whatever
// means the release will never reach the source.
class Watch : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

QPointer<QWidget> dragSource;
bool underWay = false;
Watch* watch = nullptr;

bool opensOverDrag(const QObject* watched) {
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget != nullptr && widget->isWindow() &&
           (widget->windowType() == Qt::Popup || widget->isModal());
}

bool Watch::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        if (!(static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)) {
            end();
        }
        break;
    case QEvent::Show:
        if (opensOverDrag(watched)) {
            end();
        }
        break;
    case QEvent::WindowDeactivate:
        if (dragSource == nullptr || watched == dragSource->window()) {
            end();
        }
        break;
    case QEvent::ApplicationStateChange:
        if (QGuiApplication::applicationState() != Qt::ApplicationActive) {
            end();
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace

void begin(QWidget* source, const QCursor& pointer) {
    end();
    dragSource = source;
    underWay = true;
    if (watch == nullptr) {
        watch = new Watch;
        watch->setParent(QCoreApplication::instance());
    }
    QCoreApplication::instance()->installEventFilter(watch);
    screen::setDragPointer(pointer);
}

QWidget* source() {
    if (underWay && dragSource == nullptr) {
        // The source went away with its drag under way.
        end();
    }
    return dragSource;
}

void end() {
    if (!underWay) {
        return;
    }
    underWay = false;
    dragSource = nullptr;
    QCoreApplication::instance()->removeEventFilter(watch);
    screen::setDragPointer(std::nullopt);
}

} // namespace forms::automaticdrag
