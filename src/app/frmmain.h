#pragma once

#include "forms/form.h"
#include "palette/colorpalette.h"

// The main window: the palette control and nothing else, centred on the
// screen, with Shift+F1 for the about box and Esc to close; Ctrl+C copies the
// current pick, the menu key offers it in other forms, and Ctrl+P picks a
// colour from the screen.
class FrmMain : public forms::Form {
  public:
    FrmMain();

    ColorPalette* cpMain = nullptr;

    void Form_Load();

  protected:
    void keyDown(int16_t& keyCode, int16_t& shift) override { Form_KeyDown(keyCode, shift); }
    void keyNotTaken(int16_t& keyCode, int16_t& shift) override;

  private:
    void Form_KeyDown(int16_t& KeyCode, int16_t& Shift);
};

// The default instance, loaded on first use.
FrmMain& frmMain();
bool isFrmMainLoaded();
// Destroys the default instance; the program does so on its way out.
void releaseFrmMain();
