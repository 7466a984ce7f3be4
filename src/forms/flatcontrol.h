#pragma once

#include "forms/colorvalue.h"

#include <QAccessible>
#include <QWidget>

#include <optional>

namespace forms {

// What every child control of a form shares: background and foreground colour
// values, an optional flat one-pixel border, a client area inside it, a place
// given in twips relative to its container's client area, and a focus mark
// that keyboard users see.
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

    // Whether this control shows that it has the focus. A window shows focus
    // marks only once its user has pressed a navigation key in it, so a mouse
    // user never sees one. The mark lies on the control's border and in a
    // ring just outside it, drawn by the container; the client area stays as
    // it is.
    bool showsFocusMark() const;
    static bool keyboardCuesShown(const QWidget* inWindow);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    virtual void paintContent(QPainter& painter, const QRect& dirty);
    virtual void backColorChanged() {}

    // A position beside the control, in its own coordinates, that the
    // container marks while the focus mark shows; none by default.
    virtual std::optional<double> positionMarkY() const { return std::nullopt; }
    // Repaint the focus mark with the position mark, or the position mark
    // alone, after a change.
    void updateFocusMarks();
    void updateContainerMarks();

    QColor resolved(ColorValue color) const { return resolveColor(color, palette()); }

  private:
    void showKeyboardCues();
    void paintFocusMarkOfChild(QPainter& painter) const;

    ColorValue mBackColor = SystemColor::ButtonFace;
    ColorValue mForeColor = SystemColor::WindowText;
    bool mBorder = false;
    QAccessible::Role mAccessibleRole = QAccessible::Client;
};

// Places any child control at a position and size in twips, measured from its
// container's client area (inside the container's border, if it has one).
void placeInTwips(QWidget* control, int left, int top, int width, int height);

} // namespace forms
