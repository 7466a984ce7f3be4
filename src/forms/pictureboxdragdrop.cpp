#include "forms/pictureboxdragdrop.h"

#include "forms/automaticdrag.h"
#include "forms/eventboundary.h"
#include "forms/picturebox.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

#include <memory>

namespace forms {

void PictureBoxDragDrop::pressed(const QMouseEvent* event) {
    // Only the primary button drags.
    if (mBox.dragMode() == DragMode::Automatic && event->button() == Qt::LeftButton &&
        mBox.clientContains(mBox.devicePixelUnderPointer(event))) {
        const QPixmap icon = mBox.dragIconPixmap();
        automaticdrag::begin(&mBox, icon.isNull() ? QCursor(Qt::DragMoveCursor) : QCursor(icon));
    }
}

bool PictureBoxDragDrop::moved(const QMouseEvent* event) {
    if (automaticdrag::source() == nullptr) {
        return false;
    }
    if (automaticdrag::source() == &mBox && mBox.onOLEStartDrag && leavesWindow(event)) {
        dragOut();
    }
    return true;
}

bool PictureBoxDragDrop::released(const QMouseEvent* event) {
    if (automaticdrag::source() == nullptr) {
        return false;
    }
    // Only the primary button's release drops; other buttons do nothing
    // while the drag is under way.
    if (event->button() == Qt::LeftButton && automaticdrag::source() == &mBox) {
        finishDrag(event);
    }
    return true;
}

// The copy menu comes with the secondary button's release, wherever it was
// pressed, so that moves with that button held pick as any move does.
void PictureBoxDragDrop::offerContextMenu(const QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        return;
    }
    PictureBox* under = mBox.boxAt(mBox.devicePixelUnderPointer(event));
    if (under != nullptr && under->onContextMenu && under->isEnabled()) {
        const QPoint at = event->globalPosition().toPoint();
        eventboundary::enter([&] { under->onContextMenu(at); });
    }
}

void PictureBoxDragDrop::finishDrag(const QMouseEvent* event) {
    automaticdrag::end();
    // The drop belongs to the control under the pointer, and only to it.
    // Over the source's own window, its own device pixel says where; over
    // another window of the program, the point of the screen.
    QPoint windowPixel = mBox.devicePixelUnderPointer(event);
    const QSizeF windowSize = QSizeF(mBox.window()->size()) * mBox.devicePixelRatioF();
    PictureBox* target = QRectF(QPointF(), windowSize).contains(windowPixel)
                             ? mBox.boxAt(windowPixel)
                             : PictureBox::pictureBoxAt(event->globalPosition());
    if (target == nullptr || !target->mDragDrop.takesDropFrom(&mBox)) {
        return;
    }
    if (target->window() != mBox.window()) {
        windowPixel =
            target->devicePixelAt(target->window()->mapFromGlobal(event->globalPosition()));
    }
    target->mDragDrop.drop(&mBox, windowPixel);
}

bool PictureBoxDragDrop::leavesWindow(const QMouseEvent* event) const {
    const QWidget* top = mBox.window();
    return !top->rect().contains(top->mapFromGlobal(event->globalPosition()).toPoint());
}

// Outside the window the drag is handed to the desktop (XDND on X11), with
// the drag icon as the pointer whatever lies beneath it. The pointer's button
// is still down, so the desktop's drag goes on from here until it is released.
void PictureBoxDragDrop::dragOut() {
    automaticdrag::end();
    auto data = std::make_unique<QMimeData>();
    eventboundary::enter([&] { mBox.onOLEStartDrag(*data); });
    auto* drag = new QDrag(&mBox);
    drag->setMimeData(data.release());
    const QPixmap icon = mBox.dragIconPixmap();
    for (const Qt::DropAction action :
         {Qt::CopyAction, Qt::MoveAction, Qt::LinkAction, Qt::IgnoreAction}) {
        drag->setDragCursor(icon, action);
    }
    // The pointer is the whole picture of the drag; no other follows it.
    QPixmap nothing(1, 1);
    nothing.fill(Qt::transparent);
    drag->setPixmap(nothing);
    drag->exec(Qt::CopyAction);
}

// Only a drag of this program's own picture boxes lands here: from the
// primary button's release, or one that left the window and came back. Drags
// from other programs are refused.
bool PictureBoxDragDrop::takesDropFrom(const PictureBox* source) const {
    return mBox.onDragDrop && mBox.isEnabled() && source != nullptr;
}

bool PictureBoxDragDrop::acceptDesktopDrag(QDropEvent* event) const {
    if (!takesDropFrom(dynamic_cast<PictureBox*>(event->source()))) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

// Every drop reaches DragDrop here, at a device pixel of this box's window.
void PictureBoxDragDrop::drop(PictureBox* source, QPoint windowPixel) {
    const QPointF units = mBox.unitsAt(windowPixel);
    eventboundary::enter([&] {
        mBox.onDragDrop(source, static_cast<float>(units.x()), static_cast<float>(units.y()));
    });
}

void PictureBoxDragDrop::dropped(QDropEvent* event) {
    if (!acceptDesktopDrag(event)) {
        return;
    }
    drop(dynamic_cast<PictureBox*>(event->source()),
         mBox.devicePixelAt(event->position() + QPointF(mBox.mapTo(mBox.window(), QPoint(0, 0)))));
}

// The menu keys reach the form as keys; the mouse's menu waits for the
// secondary button's release, so the request its press makes is dropped.
void PictureBoxDragDrop::contextMenuRequested(QContextMenuEvent* event) {
    event->setAccepted(event->reason() == QContextMenuEvent::Mouse && mBox.onContextMenu);
}

} // namespace forms
