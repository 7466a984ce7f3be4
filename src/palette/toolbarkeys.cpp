#include "palette/toolbarkeys.h"

#include "forms/accessiblereadout.h"
#include "forms/keyboard.h"
#include "forms/picturebox.h"

#include <algorithm>
#include <array>

namespace {

const std::array<const char*, palette::toolbar::Rows> ButtonNames = {
    "Grey background", "Title-bar colours", "About Color palette"};

} // namespace

ToolBarKeys::ToolBarKeys(forms::PictureBox& toolBar, std::function<void(QPointF)> press,
                         std::function<bool(int row)> isOn)
    : mToolBar(toolBar), mPress(std::move(press)), mIsOn(std::move(isOn)) {}

void ToolBarKeys::keyDown(int16_t& keyCode, int16_t& shift) {
    using namespace forms::keyboard;
    using palette::toolbar::Rows;
    if (shift == 0 && (keyCode == VkUp || keyCode == VkDown)) {
        const int step = keyCode == VkUp ? -1 : 1;
        keyCode = 0;
        choose(std::clamp(mChosen + step, 0, Rows - 1));
        announce();
    } else if (isPressKey(keyCode, shift)) {
        keyCode = 0;
        const QSize size = mToolBar.imageSize();
        const int cellHeight = size.height() / Rows;
        mPress(mToolBar.unitsAtImagePixel(
            QPoint(size.width() / 2, mChosen * cellHeight + cellHeight / 2)));
        if (mChosen != palette::toolbar::AboutRow) {
            announce();
        }
    }
}

void ToolBarKeys::choose(int row) {
    mChosen = row;
    mToolBar.setFocusMarkArea(QRectF(0, row, 1, 1));
}

// The chosen button as a screen reader presents it: its name, and for the
// two switches whether they are on.
void ToolBarKeys::announce() const {
    forms::AccessibleReadout::Item button{QString::fromUtf8(ButtonNames.at(mChosen)),
                                          QAccessible::Button, std::nullopt};
    if (mChosen != palette::toolbar::AboutRow) {
        button.role = QAccessible::CheckBox;
        button.checked = mIsOn(mChosen);
    }
    forms::AccessibleReadout::announce(button);
}
