#pragma once

#include "forms/displayrefresh.h"
#include "forms/drawingrecord.h"
#include "forms/flatcontrol.h"
#include "forms/picture.h"
#include "forms/pictureboxdragdrop.h"
#include "forms/userscale.h"

#include <QImage>

class QMimeData;

#include <functional>
#include <optional>

namespace forms {

enum class DrawMode { Invert = 6, CopyPen = 13 };
enum class DragMode { Manual = 0, Automatic = 1 };

struct MouseEventArgs {
    int16_t button = 0;
    int16_t shift = 0;
    float x = 0.0F;
    float y = 0.0F;
};

// The form runtime's picture box. What is drawn goes into a persistent image
// of the client area in device pixels; painting only shows that image, at a
// whole device pixel, and `point` reads it. What was drawn is drawn again,
// crisp, when the device pixel ratio changes. Mouse coordinates and drawing
// coordinates are in the box's scale (twips, or the user scale that `scale`
// sets); a mouse event's point is the centre of the device pixel under the
// pointer's hot spot, so `point` there reads exactly the pixel the user sees.
// Drags, drops and the context menu are PictureBoxDragDrop's.
class PictureBox : public FlatControl {
  public:
    explicit PictureBox(QWidget* parent = nullptr);

    void scale(float x1, float y1, float x2, float y2);
    UserScale currentScale() const { return mScale; }

    // The box form of Line: fills the device pixels the box covers, in the
    // given colour or, without one, the foreground colour; DrawMode::Invert
    // inverts them instead.
    void lineBox(float x1, float y1, float x2, float y2,
                 std::optional<ColorValue> color = std::nullopt);
    ColorValue point(float x, float y);

    void setDrawMode(DrawMode mode) { mDrawMode = mode; }
    DrawMode drawMode() const { return mDrawMode; }

    void setPicture(const Picture& picture);
    const Picture& picture() const { return mPicture; }

    void setDragMode(DragMode mode) { mDragMode = mode; }
    DragMode dragMode() const { return mDragMode; }
    void setDragIcon(const Picture& icon) { mDragIcon = icon; }
    const Picture& dragIcon() const { return mDragIcon; }
    // The drag icon as the pointer shows it; null without one.
    QPixmap dragIconPixmap() const;

    // The persistent image as drawn so far, in device pixels.
    QImage image();
    QSize imageSize() const { return deviceClientRect().size(); }
    // The point in the box's scale that a pointer over that pixel of the
    // image stands for: the pixel's centre, as mouse events give it.
    QPointF unitsAtImagePixel(QPoint pixel) const;

    // A row of the image marked beside the box while it shows its focus mark.
    void setPositionMark(std::optional<int> imageRow);
    std::optional<int> positionMark() const;
    // A part of the client area, in the box's scale, that the focus mark
    // outlines from inside, over the image but never in it; by default the
    // mark lies on the border alone.
    void setFocusMarkArea(std::optional<QRectF> area);

    std::function<void(const MouseEventArgs&)> onMouseMove;
    std::function<void(const MouseEventArgs&)> onMouseUp;
    std::function<void()> onDblClick;
    std::function<void(PictureBox* source, float x, float y)> onDragDrop;
    // KeyDown: a handler that takes the key sets keyCode to 0; any other key
    // goes on to the container and the form.
    std::function<void(int16_t& keyCode, int16_t& shift)> onKeyDown;
    // The secondary button's release over the box asks for a context menu at
    // that point of the screen.
    std::function<void(QPoint globalPos)> onContextMenu;
    // Fills the data of a drag that leaves the program's window.
    std::function<void(QMimeData& data)> onOLEStartDrag;

  protected:
    void paintContent(QPainter& painter, const QRect& dirty) override;
    void backColorChanged() override;
    void enterEvent(QEnterEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    std::optional<double> positionMarkY() const override;

  private:
    friend class PictureBoxDragDrop;

    static PictureBox* pictureBoxOf(QWidget* under);
    static PictureBox* pictureBoxAt(QPointF global);

    QImage& persistentImage();
    QRect deviceClientRect() const;
    ScaleAxis horizontalAxis(const UserScale& scale, QSize deviceSize) const;
    ScaleAxis verticalAxis(const UserScale& scale, QSize deviceSize) const;
    QRect devicePixelsOf(const DrawingRecord::Box& box, QSize deviceSize) const;

    QPoint devicePixelUnderPointer(const QMouseEvent* event) const;
    QPoint devicePixelAt(QPointF inWindow) const;
    QPoint imagePixelAt(QPoint windowPixel) const;
    bool clientContains(QPoint windowPixel) const;
    QPointF unitsAt(QPoint windowPixel) const;
    MouseEventArgs mouseArgs(const QMouseEvent* event) const;
    PictureBox* boxAt(QPoint windowPixel) const;

    void markDirty(const QRect& imagePixels);

    UserScale mScale;
    QImage mImage;
    DrawingRecord mDrawing;
    Picture mPicture;
    DrawMode mDrawMode = DrawMode::CopyPen;
    DragMode mDragMode = DragMode::Manual;
    Picture mDragIcon;
    bool mPointerJustEntered = false;
    std::optional<double> mPositionMark;
    std::optional<QRectF> mFocusMarkArea;
    DisplayRefresh mRefresh{*this};
    PictureBoxDragDrop mDragDrop{*this};
};

} // namespace forms
