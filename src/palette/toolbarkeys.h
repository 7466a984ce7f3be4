#pragma once

#include <QPointF>

#include <cstdint>
#include <functional>

namespace forms {
class PictureBox;
} // namespace forms

namespace palette::toolbar {

// The toolbar's three buttons, top to bottom.
enum Row { BackgroundStyleRow = 0, TitleStyleRow = 1, AboutRow = 2 };
constexpr int Rows = 3;

} // namespace palette::toolbar

// The toolbar from the keyboard: Up and Down choose a button, outlined inside
// it; Space or Enter presses it, as a click in its middle does. A screen
// reader hears the button chosen and, for the two switches, whether it is on.
class ToolBarKeys {
  public:
    // press: a click at a point of the toolbar, in its scale; isOn: whether
    // the switch of a row is on.
    ToolBarKeys(forms::PictureBox& toolBar, std::function<void(QPointF)> press,
                std::function<bool(int row)> isOn);

    // Takes Up, Down, Space and Enter (keyCode becomes 0); other keys go on.
    void keyDown(int16_t& keyCode, int16_t& shift);
    void choose(int row);

  private:
    void announce() const;

    forms::PictureBox& mToolBar;
    std::function<void(QPointF)> mPress;
    std::function<bool(int row)> mIsOn;
    int mChosen = 0;
};
