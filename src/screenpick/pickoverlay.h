#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>

class QScreen;

// One screen while a colour is picked from it: a frameless window over the
// whole screen showing the screen as it was when the pick began, device pixel
// for device pixel, under a cross-hair pointer, with the magnifier beside the
// hot spot. It only shows and reports; the picker decides.
class PickOverlay : public QWidget {
  public:
    // image: the screen's device pixels; the overlay covers that screen.
    PickOverlay(QScreen* screen, QImage image);

    // The screen's area in device pixels of the desktop.
    QRect deviceGeometry() const { return mDeviceGeometry; }
    const QImage& image() const { return mImage; }

    // Shows the magnifier at a hot spot, in device pixels of this screen, or
    // hides it.
    void setHotSpot(std::optional<QPoint> hotSpot);
    // Leaves a window below seen through a hole, logical pixels of the
    // overlay; the magnifier is drawn over it all the same.
    void setHole(const QRect& hole);

    std::function<void()> onPointerMoved;
    // A button pressed, with the window system's time of the press.
    std::function<void(Qt::MouseButton, quint64 time)> onPressed;
    std::function<void(int key, Qt::KeyboardModifiers modifiers)> onKey;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QRect magnifierFrame() const;
    QRect toLogical(const QRect& device) const;
    void updateMask();

    QImage mImage;
    QRect mDeviceGeometry;
    std::optional<QPoint> mHotSpot;
    QRect mHole;
};
