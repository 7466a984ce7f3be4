#include "forms/x11monitors.h"

#include "forms/x11connection.h"

#include <QScreen>

#include <xcb/randr.h>

namespace forms::x11 {

namespace {

// The monitor of that name among those the server lists for the root.
std::optional<QRect> namedMonitor(xcb_connection_t* connection, xcb_window_t root,
                                  const QString& name) {
    const QByteArray latin1 = name.toLatin1();
    const auto atom = owned(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<uint16_t>(latin1.size()), latin1.constData()),
        nullptr));
    const auto monitors = owned(xcb_randr_get_monitors_reply(
        connection, xcb_randr_get_monitors(connection, root, 1), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE || !monitors) {
        return std::nullopt;
    }
    for (auto it = xcb_randr_get_monitors_monitors_iterator(monitors.get()); it.rem > 0;
         xcb_randr_monitor_info_next(&it)) {
        const xcb_randr_monitor_info_t& monitor = *it.data;
        if (monitor.name == atom->atom) {
            return QRect(monitor.x, monitor.y, monitor.width, monitor.height);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QRect> monitorArea(xcb_connection_t* connection, xcb_window_t root,
                                 const QScreen& screen) {
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(connection, &xcb_randr_id);
    if (randr != nullptr && randr->present != 0) {
        if (auto named = namedMonitor(connection, root, screen.name())) {
            return named;
        }
    }
    // Without such a monitor, a screen alone on its root is the whole root.
    if (screen.virtualSiblings().size() != 1) {
        return std::nullopt;
    }
    const auto geometry =
        owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, root), nullptr));
    if (!geometry) {
        return std::nullopt;
    }
    return QRect(0, 0, geometry->width, geometry->height);
}

} // namespace forms::x11
