#include "forms/accessiblereadout.h"

#include "forms/accessiblereadoutparent.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <map>

namespace forms {

namespace {

// One announcement's object: a child of the control's accessible interface
// that only screen readers see. The control's own interface does not list
// it: its children and its reading stay as they are.
class ReadoutInterface : public QAccessibleInterface {
  public:
    explicit ReadoutInterface(QWidget* owner) : mOwner(owner) {}

    const AccessibleReadout::Item& item() const { return mItem; }
    void setItem(const AccessibleReadout::Item& item) { mItem = item; }

    bool isValid() const override { return !mOwner.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return mOwner ? mOwner->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(mOwner.data());
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? mItem.name : QString();
    }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}
    // No room of its own, at the control's centre: Orca takes objects of one
    // name, role and place for one object made anew, and would keep silent
    // about a text said twice in a row.
    QRect rect() const override {
        return mOwner ? QRect(mOwner->mapToGlobal(mOwner->rect().center()), QSize()) : QRect();
    }
    QAccessible::Role role() const override { return mItem.role; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.focused = mOwner && mOwner->hasFocus() && mFocused;
        state.checkable = mItem.checked.has_value();
        state.checked = mItem.checked.value_or(false);
        return state;
    }

    bool mFocused = false;

  private:
    QPointer<QWidget> mOwner;
    AccessibleReadout::Item mItem;
};

// A control's last two readouts, the newest at `last`. Each announcement
// takes the older one's place with a new object: Orca skips a focus event
// when another one follows at once, and takes focus coming back to the object
// it last presented for no change at all, so reusing an object would leave
// the last of a held key's colours unspoken. The readouts live as long as the
// control.
struct Readouts {
    std::array<QAccessible::Id, 2> ids{};
    std::array<ReadoutInterface*, 2> interfaces{};
    int last = 0;
};

std::map<const QWidget*, Readouts>& allReadouts() {
    static std::map<const QWidget*, Readouts> all;
    return all;
}

void forget(QAccessible::Id id) {
    if (id != 0) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

// Once the keyboard focus moves, no readout has the focus any more: the
// control that gets it is what the screen reader presents.
void unfocusAllOnFocusChange() {
    static const QMetaObject::Connection watching =
        QObject::connect(qApp, &QApplication::focusChanged, [] {
            for (auto& entry : allReadouts()) {
                for (ReadoutInterface* readout : entry.second.interfaces) {
                    if (readout != nullptr) {
                        readout->mFocused = false;
                    }
                }
            }
        });
    Q_UNUSED(watching);
}

Readouts& readoutsFor(QWidget* owner) {
    unfocusAllOnFocusChange();
    auto& all = allReadouts();
    const auto found = all.find(owner);
    if (found != all.end()) {
        return found->second;
    }
    QObject::connect(owner, &QObject::destroyed, [owner] {
        const auto gone = allReadouts().find(owner);
        for (const QAccessible::Id id : gone->second.ids) {
            forget(id);
        }
        allReadouts().erase(gone);
    });
    return all[owner];
}

// Replaces the older readout with a new object and makes it the newest.
ReadoutInterface* renew(Readouts& readouts, QWidget* owner) {
    if (ReadoutInterface* newest = readouts.interfaces.at(readouts.last)) {
        newest->mFocused = false;
    }
    readouts.last = 1 - readouts.last;
    forget(readouts.ids.at(readouts.last));
    auto* made = new ReadoutInterface(owner);
    readouts.interfaces.at(readouts.last) = made;
    readouts.ids.at(readouts.last) = QAccessible::registerAccessibleInterface(made);
    return made;
}

// The widget itself or the nearest one around it whose accessible interface
// lists its readouts: Orca takes an object it cannot find among its parent's
// children for one that has gone, and keeps silent.
QWidget* listingOwner(QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (dynamic_cast<AccessibleReadoutParent*>(QAccessible::queryAccessibleInterface(widget)) !=
            nullptr) {
            return widget;
        }
    }
    return nullptr;
}

// The announcement that waits for its window to come back; any later one
// takes its place, so that nothing stale is spoken.
QMetaObject::Connection& waitingForReturn() {
    static QMetaObject::Connection waiting;
    return waiting;
}

} // namespace

void AccessibleReadout::announce(const Item& item, QWidget* fallback) {
    if (!QAccessible::isActive()) {
        return;
    }
    QObject::disconnect(waitingForReturn());
    QWidget* owner = listingOwner(QApplication::focusWidget());
    if (owner == nullptr) {
        owner = listingOwner(QApplication::activeWindow());
    }
    if (owner == nullptr) {
        owner = listingOwner(fallback);
    }
    if (owner == nullptr) {
        return;
    }
    Readouts& readouts = readoutsFor(owner);
    ReadoutInterface* newest = readouts.interfaces.at(readouts.last);
    // A switch that has the focus and changes only its state says so, as
    // a check box does when Space toggles it.
    if (newest != nullptr && newest->state().focused && item.checked.has_value() &&
        newest->item().checked.has_value() && newest->item().name == item.name &&
        newest->item().role == item.role) {
        newest->setItem(item);
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent toggled(newest, changed);
        QAccessible::updateAccessibility(&toggled);
        return;
    }
    ReadoutInterface* next = renew(readouts, owner);
    next->setItem(item);
    next->mFocused = true;
    QAccessibleEvent focus(next, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

// Plain text is a filler, which Orca speaks by its name alone.
void AccessibleReadout::announce(const QString& text, QWidget* fallback) {
    announce(Item{text, QAccessible::Client, std::nullopt}, fallback);
}

void AccessibleReadout::announceOnReturn(const QString& text, QWidget* window) {
    if (!QAccessible::isActive()) {
        return;
    }
    if (window == nullptr || window->isActiveWindow()) {
        announce(text, window);
        return;
    }
    QObject::disconnect(waitingForReturn());
    waitingForReturn() =
        QObject::connect(qApp, &QApplication::focusChanged, window, [text, window] {
            if (!window->isActiveWindow()) {
                return;
            }
            QObject::disconnect(waitingForReturn());
            // After the window's own return has been told.
            QTimer::singleShot(0, window, [text, window] { announce(text, window); });
        });
}

QList<QAccessibleInterface*> AccessibleReadout::readoutsOf(const QWidget* control) {
    const auto found = allReadouts().find(control);
    if (found == allReadouts().end()) {
        return {};
    }
    QList<QAccessibleInterface*> listed;
    for (ReadoutInterface* readout : found->second.interfaces) {
        if (readout != nullptr) {
            listed.append(readout);
        }
    }
    return listed;
}

} // namespace forms
