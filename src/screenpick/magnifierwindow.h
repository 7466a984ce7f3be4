#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

#include <xcb/xcb.h>

// The magnifier's own window, a child of an overlay's, placed and sized in
// device pixels exactly whatever the scale. Its picture is its background,
// so the X server repaints it by itself wherever it is uncovered.
class MagnifierWindow {
  public:
    // A window of `size` device pixels in `parent`, whose depth it shares.
    MagnifierWindow(xcb_connection_t* connection, xcb_window_t parent, uint8_t depth, QSize size);
    ~MagnifierWindow();
    MagnifierWindow(const MagnifierWindow&) = delete;
    MagnifierWindow& operator=(const MagnifierWindow&) = delete;

    // Shows `picture`, in the server's pixel layout and of the window's size,
    // with its top-left at `topLeft`, device pixels of the parent.
    void show(QPoint topLeft, const QImage& picture);
    void hide();

  private:
    xcb_connection_t* mConnection;
    xcb_window_t mWindow;
    xcb_pixmap_t mPicture;
    xcb_gcontext_t mGc;
    uint8_t mDepth;
    QSize mSize;
};
