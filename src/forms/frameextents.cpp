#include "forms/frameextents.h"

#include "forms/x11connection.h"

#include <QWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace forms::frameextents {

namespace {

struct Atoms {
    xcb_atom_t supportingWmCheck;
    xcb_atom_t supported;
    xcb_atom_t requestFrameExtents;
    xcb_atom_t frameExtents;
};

std::optional<Atoms> internAtoms(xcb_connection_t* connection) {
    constexpr std::array<const char*, 4> names = {"_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED",
                                                  "_NET_REQUEST_FRAME_EXTENTS",
                                                  "_NET_FRAME_EXTENTS"};
    // All four requests go out before the first answer is awaited.
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        cookies[i] =
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
    }
    std::array<xcb_atom_t, names.size()> atoms{};
    bool all = true;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto reply = x11::owned(xcb_intern_atom_reply(connection, cookies[i], nullptr));
        all = all && reply != nullptr;
        atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    if (!all) {
        return std::nullopt;
    }
    return Atoms{atoms[0], atoms[1], atoms[2], atoms[3]};
}

// The 32-bit values of a window's property; empty where it has none of that
// type, or the window is gone.
std::vector<uint32_t> values(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                             xcb_atom_t type) {
    const auto reply = x11::owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 1024), nullptr));
    if (!reply || reply->format != 32 || reply->type != type) {
        return {};
    }
    const auto* first = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {first, first + xcb_get_property_value_length(reply.get()) / 4};
}

// A window manager runs (its check window names itself, so the root's
// properties are not left over from one that has gone) and promises to
// answer frame-extents requests.
bool managerAnswers(xcb_connection_t* connection, xcb_window_t root, const Atoms& atoms) {
    const auto check = values(connection, root, atoms.supportingWmCheck, XCB_ATOM_WINDOW);
    if (check.size() != 1 ||
        values(connection, check.front(), atoms.supportingWmCheck, XCB_ATOM_WINDOW) != check) {
        return false;
    }
    const auto supported = values(connection, root, atoms.supported, XCB_ATOM_ATOM);
    return std::ranges::find(supported, atoms.requestFrameExtents) != supported.end();
}

std::optional<QMargins> extentsOf(xcb_connection_t* connection, xcb_window_t window,
                                  const Atoms& atoms) {
    const auto extents = values(connection, window, atoms.frameExtents, XCB_ATOM_CARDINAL);
    if (extents.size() != 4) {
        return std::nullopt;
    }
    // Left, right, top, bottom.
    return QMargins(static_cast<int>(extents[0]), static_cast<int>(extents[2]),
                    static_cast<int>(extents[1]), static_cast<int>(extents[3]));
}

} // namespace

std::optional<QMargins> of(QWidget* window) {
    xcb_connection_t* connection = x11::connection();
    if (connection == nullptr) {
        return std::nullopt;
    }
    // The request names the window, so it must exist on the server.
    const auto native = static_cast<xcb_window_t>(window->winId());
    const std::optional<Atoms> atoms = internAtoms(connection);
    if (!atoms) {
        return std::nullopt;
    }
    const std::optional<xcb_window_t> root = x11::rootOf(connection, native);
    if (!root || !managerAnswers(connection, *root, *atoms)) {
        return std::nullopt;
    }
    if (const auto known = extentsOf(connection, native, *atoms)) {
        return known;
    }
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = native;
    request.type = atoms->requestFrameExtents;
    xcb_send_event(connection, 0, *root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
    // The answer is a property set on the window. Qt's own thread takes the
    // connection's events, so the property is read until it is there.
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + 1s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (const auto answered = extentsOf(connection, native, *atoms)) {
            return answered;
        }
        std::this_thread::sleep_for(1ms);
    }
    return std::nullopt;
}

} // namespace forms::frameextents
