#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QTimer>

class QWidget;

namespace forms {

// Repaints a widget at the display's rate, however many draws arrive: the
// parts drawn since the last repaint are gathered into one rectangle (the
// bands of a paint lie next to each other) and repainted together.
class DisplayRefresh {
  public:
    explicit DisplayRefresh(QWidget& widget);

    // A part of the widget, in its logical pixels, has been drawn.
    void drawn(const QRect& area);

  private:
    void repaint();

    QWidget& mWidget;
    QRect mDirty;
    QTimer mTimer;
    QElapsedTimer mSinceRepaint;
};

} // namespace forms
