#pragma once

#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class MagnifierWindow;
class QScreen;
class ScreenCopy;

// One screen while a colour is picked from it: a frameless window over the
// whole screen showing the screen as it was when the pick began, device pixel
// for device pixel, under a cross-hair pointer, with the magnifier beside the
// hot spot. The X server paints the copy it keeps, so nothing of the screen's
// size passes through the program. It only shows and reports; the picker
// decides.
class PickOverlay : public QWidget {
  public:
    PickOverlay(QScreen* screen, std::unique_ptr<ScreenCopy> copy);
    ~PickOverlay() override;

    // Whether the overlay's window can show the copy; it shows nothing else.
    bool showsCopy() const { return mShowsCopy; }
    // The screen's area in device pixels of the desktop.
    QRect deviceGeometry() const;

    // Shows the magnifier at a hot spot, in device pixels of this screen, or
    // hides it.
    void setHotSpot(std::optional<QPoint> hotSpot);
    // The colour of the copy under the hot spot, while there is one.
    std::optional<QRgb> colorUnderHotSpot() const { return mColorUnderHotSpot; }
    // Leaves a window below seen through a hole, logical pixels of the
    // overlay; the magnifier is shown over it all the same.
    void setHole(const QRect& hole);

    // The server paints this window: Qt has nothing to paint with.
    QPaintEngine* paintEngine() const override { return nullptr; }

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
    bool magnifierOverHole() const;
    QRect toLogical(const QRect& device) const;
    void updateMask();

    std::unique_ptr<ScreenCopy> mCopy;
    std::unique_ptr<MagnifierWindow> mMagnifier;
    bool mShowsCopy = false;
    std::optional<QPoint> mHotSpot;
    std::optional<QRgb> mColorUnderHotSpot;
    QRect mHole;
};
