#include "screenpick/magnifierwindow.h"

#include <algorithm>

namespace {

// Rows put at once: well below the smallest request limit a server may set.
constexpr int RowsPerRequest = 32;

} // namespace

MagnifierWindow::MagnifierWindow(xcb_connection_t* connection, xcb_window_t parent, uint8_t depth,
                                 QSize size)
    : mConnection(connection), mWindow(xcb_generate_id(connection)),
      mPicture(xcb_generate_id(connection)), mGc(xcb_generate_id(connection)), mDepth(depth),
      mSize(size) {
    const auto width = static_cast<uint16_t>(size.width());
    const auto height = static_cast<uint16_t>(size.height());
    xcb_create_pixmap(connection, depth, mPicture, parent, width, height);
    xcb_create_gc(connection, mGc, mPicture, 0, nullptr);
    const uint32_t background = mPicture;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, mWindow, parent, 0, 0, width, height, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXMAP,
                      &background);
}

MagnifierWindow::~MagnifierWindow() {
    xcb_destroy_window(mConnection, mWindow);
    xcb_free_gc(mConnection, mGc);
    xcb_free_pixmap(mConnection, mPicture);
    xcb_flush(mConnection);
}

void MagnifierWindow::show(QPoint topLeft, const QImage& picture) {
    const auto rowBytes = static_cast<uint32_t>(picture.bytesPerLine());
    for (int top = 0; top < mSize.height(); top += RowsPerRequest) {
        const int rows = std::min(RowsPerRequest, mSize.height() - top);
        xcb_put_image(mConnection, XCB_IMAGE_FORMAT_Z_PIXMAP, mPicture, mGc,
                      static_cast<uint16_t>(mSize.width()), static_cast<uint16_t>(rows), 0,
                      static_cast<int16_t>(top), 0, mDepth, rowBytes * static_cast<uint32_t>(rows),
                      picture.constScanLine(top));
    }
    const uint32_t place[] = {static_cast<uint32_t>(topLeft.x()),
                              static_cast<uint32_t>(topLeft.y()), XCB_STACK_MODE_ABOVE};
    xcb_configure_window(mConnection, mWindow,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_STACK_MODE,
                         place);
    xcb_map_window(mConnection, mWindow);
    // The new picture, also where the window did not move.
    xcb_clear_area(mConnection, 0, mWindow, 0, 0, 0, 0);
    xcb_flush(mConnection);
}

void MagnifierWindow::hide() {
    xcb_unmap_window(mConnection, mWindow);
    xcb_flush(mConnection);
}
