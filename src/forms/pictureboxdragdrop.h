#pragma once

#include <QPoint>
#include <QPointF>

class QContextMenuEvent;
class QDropEvent;
class QMouseEvent;

namespace forms {

class PictureBox;

// What a picture box does with drags, drops and its context menu. An
// automatic drag starts with the primary button's press and stays inside the
// program while the pointer is over its window; once the pointer leaves it,
// the drag becomes the desktop's, carrying whatever the box's OLEStartDrag
// puts in it. The primary button's release drops it on the box under the
// pointer, and a box that handles drops takes a desktop drag only when it is
// one of its own program's. The secondary button's release asks the box under
// the pointer for its context menu.
class PictureBoxDragDrop {
  public:
    explicit PictureBoxDragDrop(PictureBox& box) : mBox(box) {}

    void pressed(const QMouseEvent* event);
    // Whether a drag is under way, which the move then belongs to.
    bool moved(const QMouseEvent* event);
    // Whether a drag was under way, which the release then belonged to.
    bool released(const QMouseEvent* event);
    void offerContextMenu(const QMouseEvent* event);
    void contextMenuRequested(QContextMenuEvent* event);

    // A desktop drag over the box is taken as a copy, or refused.
    bool acceptDesktopDrag(QDropEvent* event) const;
    void dropped(QDropEvent* event);

  private:
    void finishDrag(const QMouseEvent* event);
    bool leavesWindow(const QMouseEvent* event) const;
    void dragOut();
    bool takesDropFrom(const PictureBox* source) const;
    void drop(PictureBox* source, QPoint windowPixel);

    PictureBox& mBox;
};

} // namespace forms
