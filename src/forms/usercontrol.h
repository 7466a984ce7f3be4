#pragma once

#include "forms/flatcontrol.h"

#include <QPointer>
#include <QWindow>

namespace forms {

// The surface of a user control: its own colours and size in twips, its
// show and resize notifications, and the host's ambient properties.
class UserControl : public FlatControl {
  public:
    explicit UserControl(QWidget* parent = nullptr);

    float widthTwips() const;
    void setWidthTwips(float width);
    float heightTwips() const;
    void setHeightTwips(float height);

    // No design surface exists here: the host is always running the program.
    bool ambientUserMode() const { return true; }

  protected:
    // The show notification: the first show and every show after a hide, not
    // the restoring of a minimised window. It comes once the window is on
    // screen, so that whatever it draws is seen being drawn.
    virtual void showNotification() {}
    virtual void resizeNotification() {}

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void watchWindow();
    void notifyShownSoon();

    bool mShowPending = false;
    QPointer<QWindow> mWatchedWindow;
};

} // namespace forms
