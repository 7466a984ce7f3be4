#pragma once

#include "forms/colorvalue.h"
#include "forms/popupmenu.h"
#include "screenpick/screenpicker.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace forms {
class Label;
class PictureBox;
} // namespace forms

// A colour picked anywhere on the screen, as the palette runs it: while the
// pick runs, the preview swatch and the status line follow the cross-hair as
// a hover over a bar does; a colour taken becomes the current pick; a
// cancelled pick puts back what they showed before. A box or menu that opens
// over a running pick (a run-time error's, say) cancels it first, so that
// nothing waits under a screen held still.
class ScreenPickSession : public QObject {
  public:
    // show: the preview and the status line describe a colour; take: a
    // colour becomes the current pick, read at a device pixel of the desktop.
    ScreenPickSession(forms::PictureBox& preview, forms::Label& status,
                      std::function<void(forms::ColorValue)> show,
                      std::function<void(forms::ColorValue, QPoint)> take);
    ~ScreenPickSession() override;

    // Whether this desktop lets a pick run, and a sentence that says what is
    // missing where it does not.
    static bool isAvailable();
    static QString unavailableText();
    // Shows a menu of `items` and, last, the item `text` that starts a pick:
    // enabled where a pick can run, or saying what is missing. The desktop's
    // answer may come while the menu is open; the item follows it.
    static std::optional<int> showMenuWithPick(QWidget* owner, QList<forms::popupmenu::Item> items,
                                               const QString& text, QPoint globalPos);

    // Starts a pick, `liveWindow` left live above the still screen; where
    // the desktop allows none, or will not give pointer and keys, a message
    // box says why. A running pick that yields to a new start (the desktop's
    // own picker) is cancelled first; any other keeps running alone.
    void start(QWidget* liveWindow);
    void cancel();
    bool isRunning() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void finished(const std::optional<screenpick::Pick>& pick);

    forms::PictureBox& mPreview;
    forms::Label& mStatus;
    std::function<void(forms::ColorValue)> mShow;
    std::function<void(forms::ColorValue, QPoint)> mTake;
    // The running pick's way of picking.
    std::unique_ptr<screenpick::ScreenPicker> mPicker;
    QWidget* mLiveWindow = nullptr;
    forms::ColorValue mPreviewBefore = 0;
    QString mStatusBefore;
};
