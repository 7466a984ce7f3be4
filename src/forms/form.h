#pragma once

#include "forms/flatcontrol.h"
#include "forms/windowhandle.h"

#include <functional>

namespace forms {

// A top-level form: a fixed-size window with key preview (it sees every key
// press before the focused control), a window handle, and unloading, which
// closes it for good. It stays on a monitor that is switched on, at its size
// on every monitor.
class Form : public FlatControl {
  public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    windows::WindowHandle hWnd() { return windows::handleOf(this); }
    void setClientSizeTwips(int width, int height);

    void unload();
    bool isLoaded() const { return mLoaded; }
    // Once the form has closed, however it was closed.
    std::function<void()> onUnloaded;

  protected:
    // KeyDown with the virtual-key code and modifier mask; the key goes on to
    // the focused control afterwards.
    virtual void keyDown(int16_t& keyCode, int16_t& shift) = 0;
    // A key that no control took, or that came while none had the focus; a
    // handler that takes it sets keyCode to 0.
    virtual void keyNotTaken(int16_t& /*keyCode*/, int16_t& /*shift*/) {}

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool mLoaded = true;
};

} // namespace forms
