#pragma once

#include "forms/controlarray.h"
#include "forms/imagecontrol.h"
#include "forms/label.h"
#include "forms/picturebox.h"
#include "forms/usercontrol.h"
#include "palette/palettelayout.h"

// The palette control's surface and its child controls, made from the layout
// table with their geometry, colours, captions, tab order and accessible
// names, and kept under the names the control's procedures use.
class PaletteControls : public forms::UserControl {
  protected:
    explicit PaletteControls(QWidget* parent);

    forms::PictureBox* picToolBar = nullptr;
    forms::ControlArray<forms::PictureBox> picColorBar;
    forms::Label* lblStatusBar = nullptr;
    forms::PictureBox* picSidebar = nullptr;
    forms::ControlArray<forms::Label> lblTitle;
    forms::PictureBox* picSelectedColor = nullptr;
    forms::PictureBox* picColorPreview = nullptr;
    forms::ImageControl* imgIcon = nullptr;

  private:
    void createChildren();
    QWidget* createChild(const palette::layout::ChildControl& child, QWidget* container);
    void describeForAssistiveTechnology();
};
