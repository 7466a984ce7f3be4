#pragma once

#include "palette/palettecontrols.h"
#include "palette/screenpicksession.h"
#include "palette/toolbarkeys.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QMimeData;

// The palette control: seven gradient bars to pick a colour from, a preview
// swatch and status line that describe the colour under the pointer, a
// selected-colour swatch that keeps a colour dropped on it, and a three-button
// toolbar for the two display styles and the about box. Everything the mouse
// does can be done from the keyboard too, the current pick can be copied or
// dragged to other programs, and a colour can be picked anywhere on the
// screen.
class ColorPalette : public PaletteControls {
  public:
    // showAbout opens the application's about box and returns when it closes.
    explicit ColorPalette(std::function<void()> showAbout, QWidget* parent = nullptr);
    ~ColorPalette() override;

    std::optional<forms::ColorValue> GetColor(int32_t nBar, int32_t Pos) const;
    void PaintBars();
    void SetFonts();

    // Puts the current pick on the clipboard: "#RRGGBB" and the colour.
    void CopyColor();
    // Offers the current pick's texts to copy, at the focused control.
    void ShowCopyMenu();
    // Picks a colour anywhere on the screen: the preview and the status line
    // follow the cross-hair, the colour taken becomes the current pick, and a
    // cancelled pick leaves everything as it was. Where the desktop allows no
    // screen pick, a message box says what is missing.
    void PickFromScreen();
    bool isPickingFromScreen() const;

  protected:
    void showNotification() override { UserControl_Show(); }
    void resizeNotification() override { UserControl_Resize(); }
    void hideEvent(QHideEvent* event) override;

    // The current pick, then the two display styles (16-bit Booleans: any
    // non-zero value is true).
    float mCurX = 0.0F;
    float mCurY = 0.0F;
    forms::ColorValue mCurColor = 0;
    int16_t mGrayBack = 0;
    int16_t mTitleBars = 0;

  private:
    void UserControl_Resize();
    void UserControl_Show();
    void LoadToolBar();
    void InitIcons();

    void PickColor(forms::PictureBox& box, float X, float Y);
    void makeCurrentPick(forms::ColorValue color, float X, float Y);
    void showColor(forms::ColorValue color);
    void picColorBar_MouseMove(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void picSelectedColor_DblClick();
    void picSelectedColor_DragDrop(forms::PictureBox* Source, float X, float Y);
    void picToolBar_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void drawToolBarCell(int32_t column, int32_t row);

    void picColorBar_KeyDown(int16_t Index, int16_t& KeyCode, int16_t& Shift);
    void picColorBar_OLEStartDrag(QMimeData& Data);
    void picSelectedColor_KeyDown(int16_t& KeyCode, int16_t& Shift);
    void picToolBar_KeyDown(int16_t& KeyCode, int16_t& Shift);
    void showCopyMenuAt(QPoint globalPos);

    std::function<void()> mShowAbout;

    ToolBarKeys mToolBarKeys;

    std::unique_ptr<ScreenPickSession> mScreenPick;
};
