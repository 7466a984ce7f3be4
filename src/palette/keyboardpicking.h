#pragma once

#include <cstdint>
#include <optional>

// How the keyboard moves its pick position along a bar: one device row for
// Up and Down, a tenth of the bar for Page Up and Page Down, to the top and
// the bottom row for Home and End. Rows count down from the top of the bar's
// image; a move never leaves the bar.
namespace palette::keyboardpicking {

// The row a key moves to from `row` on a bar `rows` rows high, or none for a
// key (or a key with modifiers) that does not move.
std::optional<int> rowAfter(int16_t keyCode, int16_t shift, int row, int rows);

} // namespace palette::keyboardpicking
