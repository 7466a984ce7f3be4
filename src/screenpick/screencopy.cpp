#include "screenpick/screencopy.h"

#include "forms/x11connection.h"

#include <QSysInfo>


#include <cstring>

namespace {

constexpr uint32_t RedMask = 0xff0000;
constexpr uint32_t GreenMask = 0x00ff00;
constexpr uint32_t BlueMask = 0x0000ff;

const xcb_screen_t* screenOfRoot(xcb_connection_t* connection, xcb_window_t root) {
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem > 0;
         xcb_screen_next(&it)) {
        if (it.data->root == root) {
            return it.data;
        }
    }
    return nullptr;
}

// Whether the root's pixels read back as QImage::Format_RGB32 does them.
bool readsAsRgb32(xcb_connection_t* connection, const xcb_screen_t& screen) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const bool machineOrder = (setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) ==
                              (QSysInfo::ByteOrder == QSysInfo::LittleEndian);
    if (!machineOrder) {
        return false;
    }
    bool wordPerPixel = false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it)) {
        if (it.data->depth == screen.root_depth) {
            wordPerPixel = it.data->bits_per_pixel == 32;
        }
    }
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem > 0;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
             xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t& visual = *visuals.data;
            if (visual.visual_id == screen.root_visual) {
                return wordPerPixel && visual.red_mask == RedMask &&
                       visual.green_mask == GreenMask && visual.blue_mask == BlueMask;
            }
        }
    }
    return false;
}

} // namespace

std::unique_ptr<ScreenCopy> ScreenCopy::take(xcb_connection_t* connection, xcb_window_t root,
                                             const QRect& area) {
    const xcb_screen_t* screen = screenOfRoot(connection, root);
    if (screen == nullptr || area.isEmpty() || !readsAsRgb32(connection, *screen)) {
        return nullptr;
    }
    const xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, screen->root_depth, pixmap, root,
                      static_cast<uint16_t>(area.width()), static_cast<uint16_t>(area.height()));
    // What the user sees: the root with every window on it.
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const uint32_t includeInferiors = XCB_SUBWINDOW_MODE_INCLUDE_INFERIORS;
    xcb_create_gc(connection, gc, pixmap, XCB_GC_SUBWINDOW_MODE, &includeInferiors);
    xcb_copy_area(connection, root, pixmap, gc, static_cast<int16_t>(area.x()),
                  static_cast<int16_t>(area.y()), 0, 0, static_cast<uint16_t>(area.width()),
                  static_cast<uint16_t>(area.height()));
    xcb_free_gc(connection, gc);
    return std::unique_ptr<ScreenCopy>(
        new ScreenCopy(connection, pixmap, screen->root_depth, area));
}

ScreenCopy::ScreenCopy(xcb_connection_t* connection, xcb_pixmap_t pixmap, uint8_t depth,
                       const QRect& area)
    : mConnection(connection), mPixmap(pixmap), mDepth(depth), mArea(area) {}

ScreenCopy::~ScreenCopy() {
    xcb_free_pixmap(mConnection, mPixmap);
    xcb_flush(mConnection);
}

QImage ScreenCopy::read(const QRect& part) const {
    QImage image(part.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    const QRect inCopy = part.intersected(mArea);
    if (inCopy.isEmpty()) {
        return image;
    }
    const QPoint from = inCopy.topLeft() - mArea.topLeft();
    const auto reply = forms::x11::owned(xcb_get_image_reply(
        mConnection,
        xcb_get_image(mConnection, XCB_IMAGE_FORMAT_Z_PIXMAP, mPixmap,
                      static_cast<int16_t>(from.x()), static_cast<int16_t>(from.y()),
                      static_cast<uint16_t>(inCopy.width()), static_cast<uint16_t>(inCopy.height()),
                      ~0U),
        nullptr));
    if (!reply) {
        return image;
    }
    const uint8_t* data = xcb_get_image_data(reply.get());
    const auto rowBytes = static_cast<std::size_t>(inCopy.width()) * 4;
    if (static_cast<std::size_t>(xcb_get_image_data_length(reply.get())) <
        rowBytes * static_cast<std::size_t>(inCopy.height())) {
        return image;
    }
    const QPoint to = inCopy.topLeft() - part.topLeft();
    for (int row = 0; row < inCopy.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(to.y() + row)) + to.x();
        std::memcpy(line, data + rowBytes * static_cast<std::size_t>(row), rowBytes);
        // The unused top byte may hold anything; RGB32 wants it opaque.
        for (int column = 0; column < inCopy.width(); ++column) {
            line[column] |= 0xff000000U;
        }
    }
    return image;
}
