#include "screenpick/screencopy.h"

#include "forms/x11connection.h"

#include <QPainter>
#include <QSysInfo>

#include <array>
#include <optional>

namespace {

// The layouts of a pixel that QImage shares with the X server, by depth, bits
// a pixel and the red, green and blue masks of the visual.
struct PixelLayout {
    uint8_t depth;
    uint8_t bitsPerPixel;
    uint32_t red;
    uint32_t green;
    uint32_t blue;
    QImage::Format format;
};
constexpr std::array<PixelLayout, 4> SharedLayouts = {{
    {24, 32, 0xff0000, 0x00ff00, 0x0000ff, QImage::Format_RGB32},
    {30, 32, 0x3ff00000, 0x000ffc00, 0x000003ff, QImage::Format_RGB30},
    {16, 16, 0xf800, 0x07e0, 0x001f, QImage::Format_RGB16},
    {15, 16, 0x7c00, 0x03e0, 0x001f, QImage::Format_RGB555},
}};

const xcb_screen_t* screenOfRoot(xcb_connection_t* connection, xcb_window_t root) {
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem > 0;
         xcb_screen_next(&it)) {
        if (it.data->root == root) {
            return it.data;
        }
    }
    return nullptr;
}

// The QImage format of the root's pixels as they are read back, if QImage
// has one.
std::optional<QImage::Format> formatOf(xcb_connection_t* connection, const xcb_screen_t& screen) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const bool machineOrder = (setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) ==
                              (QSysInfo::ByteOrder == QSysInfo::LittleEndian);
    if (!machineOrder) {
        return std::nullopt;
    }
    uint8_t bitsPerPixel = 0;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it)) {
        if (it.data->depth == screen.root_depth) {
            bitsPerPixel = it.data->bits_per_pixel;
        }
    }
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem > 0;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
             xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t& visual = *visuals.data;
            if (visual.visual_id != screen.root_visual) {
                continue;
            }
            for (const PixelLayout& layout : SharedLayouts) {
                if (layout.depth == screen.root_depth && layout.bitsPerPixel == bitsPerPixel &&
                    layout.red == visual.red_mask && layout.green == visual.green_mask &&
                    layout.blue == visual.blue_mask) {
                    return layout.format;
                }
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::unique_ptr<ScreenCopy> ScreenCopy::take(xcb_connection_t* connection, xcb_window_t root,
                                             const QRect& area) {
    const xcb_screen_t* screen = screenOfRoot(connection, root);
    const std::optional<QImage::Format> format =
        screen != nullptr ? formatOf(connection, *screen) : std::nullopt;
    if (!format || area.isEmpty()) {
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
        new ScreenCopy(connection, pixmap, screen->root_depth, *format, area));
}

ScreenCopy::ScreenCopy(xcb_connection_t* connection, xcb_pixmap_t pixmap, uint8_t depth,
                       QImage::Format format, const QRect& area)
    : mConnection(connection), mPixmap(pixmap), mDepth(depth), mFormat(format), mArea(area) {}

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
    const int rowBytes =
        (QImage::toPixelFormat(mFormat).bitsPerPixel() * inCopy.width() + 31) / 32 * 4;
    if (xcb_get_image_data_length(reply.get()) < rowBytes * inCopy.height()) {
        return image;
    }
    const QImage read(xcb_get_image_data(reply.get()), inCopy.width(), inCopy.height(), rowBytes,
                      mFormat);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(inCopy.topLeft() - part.topLeft(), read);
    painter.end();
    // A server may leave anything in a word's unused bits; the colours are
    // opaque.
    for (int row = 0; row < image.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < image.width(); ++column) {
            line[column] |= 0xff000000U;
        }
    }
    return image;
}
