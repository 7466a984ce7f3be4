#pragma once

#include <QCursor>

#include <cstdint>
#include <optional>

// The application-wide mouse pointer. Screen.MousePointer is a value, not a
// stack, so setting the hourglass twice and the default once leaves none. The
// pointer of a drag under way shows over it. This is the one owner of Qt's
// override cursor: it keeps at most one entry there.
namespace forms::mousepointer {

constexpr int16_t DefaultPointer = 0;
constexpr int16_t Hourglass = 11;

void setMousePointer(int16_t pointer);
int16_t mousePointer();

// The pointer of a drag under way, or none once it has ended.
void setDragPointer(const std::optional<QCursor>& pointer);

} // namespace forms::mousepointer
