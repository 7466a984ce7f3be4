#pragma once

#include <QAccessible>
#include <QString>

#include <optional>

class QWidget;

namespace forms {

// What a screen reader is told that a keyboard user's action did. Screen
// readers speak what happens to the focused object, never a label that
// changes elsewhere; so each announcement moves the accessible focus onto a
// focusable accessible child of the focused control, named with the text.
// Every announcement is a new object, so it is a focus change that is spoken
// once and at once, interrupting the one before (held keys leave no backlog),
// even when the text is the same as the last one; a switch that keeps the
// focus and changes only its state tells just that. Nothing is done while no
// assistive technology listens.
class AccessibleReadout {
  public:
    struct Item {
        QString name;
        QAccessible::Role role = QAccessible::Client;
        // A switch's state; none for anything else.
        std::optional<bool> checked;
    };

    // Announces the item on the control that has the keyboard focus in the
    // application, else on the active window, else on `fallback`.
    static void announce(const Item& item, QWidget* fallback = nullptr);
    static void announce(const QString& text, QWidget* fallback = nullptr);

    // Announces the text once `window` is the active window again: Orca
    // presents a window that comes back, and an announcement made before
    // that is lost under it (a screen pick's overlay closing, say).
    static void announceOnReturn(const QString& text, QWidget* window);

    // The readouts a control has had, for its accessible interface to list
    // among its children after its own: screen readers ignore an object
    // that has no place among its parent's children.
    static QList<QAccessibleInterface*> readoutsOf(const QWidget* control);
};

} // namespace forms
