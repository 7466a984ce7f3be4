#pragma once

#include <QImage>
#include <QRect>

#include <xcb/xcb.h>

#include <memory>

// A screen's device pixels as they were when copied, kept by the X server in
// a pixmap of its own: nothing of the screen's size crosses the connection,
// only the few pixels read back.
class ScreenCopy {
  public:
    // Copies `area`, device pixels of `root`; nothing where QImage has no
    // format for the server's pixels.
    static std::unique_ptr<ScreenCopy> take(xcb_connection_t* connection, xcb_window_t root,
                                            const QRect& area);
    ~ScreenCopy();
    ScreenCopy(const ScreenCopy&) = delete;
    ScreenCopy& operator=(const ScreenCopy&) = delete;

    xcb_pixmap_t pixmap() const { return mPixmap; }
    uint8_t depth() const { return mDepth; }
    // The server's pixels as QImage lays them out.
    QImage::Format format() const { return mFormat; }
    // Where the copy was taken, device pixels of the root.
    const QRect& area() const { return mArea; }
    // The copy's pixels in `part`, device pixels of the root; those outside
    // the copy are black.
    QImage read(const QRect& part) const;

  private:
    ScreenCopy(xcb_connection_t* connection, xcb_pixmap_t pixmap, uint8_t depth,
               QImage::Format format, const QRect& area);

    xcb_connection_t* mConnection;
    xcb_pixmap_t mPixmap;
    uint8_t mDepth;
    QImage::Format mFormat;
    QRect mArea;
};
