#pragma once

#include "colorvalue.h"

#include <QAccessible>
#include <QWidget>

namespace forms {

// What every child control of a form shares: background and foreground colour
// values, an optional flat one-pixel border, a client area inside it, and a
// place given in twips relative to its container's client area.
class FlatControl : public QWidget {
  public:
    explicit FlatControl(QWidget* parent = nullptr);

    ColorValue backColor() const { return mBackColor; }
    void setBackColor(ColorValue color);
    ColorValue foreColor() const { return mForeColor; }
    void setForeColor(ColorValue color);

    bool hasBorder() const { return mBorder; }
    void setBorder(bool border);

    // The client area in widget coordinates: everything inside the border.
    QRect clientRect() const;

    // What assistive technology is told this control is.
    QAccessible::Role accessibleRole() const { return mAccessibleRole; }
    void setAccessibleRole(QAccessible::Role role) { mAccessibleRole = role; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    virtual void paintContent(QPainter& painter, const QRect& dirty);
    virtual void backColorChanged() {}

    QColor resolved(ColorValue color) const { return resolveColor(color, palette()); }

  private:
    ColorValue mBackColor = SystemColor::ButtonFace;
    ColorValue mForeColor = SystemColor::WindowText;
    bool mBorder = false;
    QAccessible::Role mAccessibleRole = QAccessible::Client;
};

// Places any child control at a position and size in twips, measured from its
// container's client area (inside the container's border, if it has one).
void placeInTwips(QWidget* control, int left, int top, int width, int height);

} // namespace forms
