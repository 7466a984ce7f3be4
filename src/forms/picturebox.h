#pragma once

#include "flatcontrol.h"
#include "picture.h"
#include "userscale.h"

#include <QElapsedTimer>
#include <QImage>
#include <QRegion>
#include <QTimer>

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
// of the client area at the device pixel ratio; painting only shows that image,
// and `point` reads it. Mouse coordinates and drawing coordinates are in the
// box's scale (twips, or the user scale that `scale` sets).
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

    // The persistent image as drawn so far, in device pixels.
    QImage image();

    std::function<void(const MouseEventArgs&)> onMouseMove;
    std::function<void(const MouseEventArgs&)> onMouseUp;
    std::function<void()> onDblClick;
    std::function<void(PictureBox* source, float x, float y)> onDragDrop;

  protected:
    void paintContent(QPainter& painter, const QRect& dirty) override;
    void backColorChanged() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QImage& persistentImage();
    QSize deviceClientSize() const;
    ScaleAxis horizontalAxis() const;
    ScaleAxis verticalAxis() const;
    MouseEventArgs mouseArgs(const QMouseEvent* event) const;
    QRect devicePixelsOf(float x1, float y1, float x2, float y2) const;
    void markDirty(const QRect& deviceRect);
    void flushDirty();
    void finishDrag(const QMouseEvent* event);

    UserScale mScale;
    QImage mImage;
    Picture mPicture;
    DrawMode mDrawMode = DrawMode::CopyPen;
    DragMode mDragMode = DragMode::Manual;
    Picture mDragIcon;
    bool mDragging = false;
    QRegion mDirty;
    QTimer mRefreshTimer;
    QElapsedTimer mSinceRefresh;
};

} // namespace forms
