#include "app/frmmain.h"

#include "app/modmain.h"
#include "forms/eventboundary.h"
#include "forms/keyboard.h"
#include "support/tarnwicksupport.h"

#include <memory>

namespace {
std::unique_ptr<FrmMain>& defaultInstance() {
    static std::unique_ptr<FrmMain> instance;
    return instance;
}
} // namespace

FrmMain::FrmMain() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Color palette"));
    cpMain = new ColorPalette(modMain::ShowAbout, this);
    cpMain->move(0, 0);
    // The client area is exactly the control, which keeps its own size.
    setClientSizeTwips(static_cast<int>(cpMain->widthTwips()),
                       static_cast<int>(cpMain->heightTwips()));
}

void FrmMain::Form_Load() {
    tarnwick::check(tarnwick::SupportFunction::CenterFormEx, tarnwick::tsCenterFormEx(hWnd()));
    int16_t inIDE = 0;
    tarnwick::check(tarnwick::SupportFunction::IsInIDE, tarnwick::tsIsInIDE(inIDE));
    if (inIDE == 0) {
        tarnwick::check(tarnwick::SupportFunction::SetWindowResIconAll,
                        tarnwick::tsSetWindowResIconAll(hWnd(), QStringLiteral("A_MAIN")));
    }
}

void FrmMain::Form_KeyDown(int16_t& KeyCode, int16_t& Shift) {
    if (KeyCode == forms::keyboard::VkF1 && Shift == forms::keyboard::ShiftMask) {
        modMain::ShowAbout();
    }
    if (KeyCode == forms::keyboard::VkEscape && Shift == 0) {
        unload();
    }
}

// Keys of the whole window, wherever the focus is: the edit keys Ctrl+C and
// Ctrl+Insert copy, the menu key and Shift+F10 open the copy menu, Ctrl+P
// picks a colour from the screen.
void FrmMain::keyNotTaken(int16_t& keyCode, int16_t& shift) {
    using namespace forms::keyboard;
    if ((keyCode == 'C' || keyCode == VkInsert) && shift == CtrlMask) {
        keyCode = 0;
        cpMain->CopyColor();
    } else if ((keyCode == VkApps && shift == 0) || (keyCode == VkF10 && shift == ShiftMask)) {
        keyCode = 0;
        cpMain->ShowCopyMenu();
    } else if (keyCode == 'P' && shift == CtrlMask) {
        keyCode = 0;
        cpMain->PickFromScreen();
    }
}

FrmMain& frmMain() {
    auto& instance = defaultInstance();
    if (!instance) {
        instance = std::make_unique<FrmMain>();
        forms::eventboundary::enter([] { defaultInstance()->Form_Load(); });
    }
    return *instance;
}

bool isFrmMainLoaded() {
    return defaultInstance() && defaultInstance()->isLoaded();
}

void releaseFrmMain() {
    defaultInstance().reset();
}
