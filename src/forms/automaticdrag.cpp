#include "forms/automaticdrag.h"

#include "forms/modalwindow.h"
#include "forms/mousepointer.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace forms::automaticdrag {

namespace {

// Watches the whole application while a drag is under way, for whatever
// means the release will never reach the source.
class DragEndWatcher : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

QPointer<QWidget> dragSource;
bool underWay = false;
DragEndWatcher* watcher = nullptr;

bool DragEndWatcher::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        if (!(static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)) {
            end();
        }
        break;
    case QEvent::Show:
        if (isModalOrPopup(watched)) {
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
    if (watcher == nullptr) {
        watcher = new DragEndWatcher;
        watcher->setParent(QCoreApplication::instance());
    }
    QCoreApplication::instance()->installEventFilter(watcher);
    mousepointer::setDragPointer(pointer);
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
    QCoreApplication::instance()->removeEventFilter(watcher);
    mousepointer::setDragPointer(std::nullopt);
}

} // namespace forms::automaticdrag
