#include "forms/accessiblereadout.h"

#include "forms/flatcontrol.h"

#include <QApplication>
#include <QPointer>
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

    void setItem(const AccessibleReadout::Item& item) { mItem = item; }
    void setRole(QAccessible::Role role) { mItem.role = role; }

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
    QRect rect() const override {
        return mOwner ? QRect(mOwner->mapToGlobal(QPoint(0, 0)), mOwner->size()) : QRect();
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

// A control's two readouts and which one spoke last. They live as long as
// the control.
struct Readouts {
    std::array<QAccessible::Id, 2> ids{};
    std::array<ReadoutInterface*, 2> interfaces{};
    int last = 0;
};

std::map<const QWidget*, Readouts>& allReadouts() {
    static std::map<const QWidget*, Readouts> all;
    return all;
}

Readouts& readoutsFor(QWidget* owner) {
    auto& all = allReadouts();
    const auto found = all.find(owner);
    if (found != all.end()) {
        return found->second;
    }
    Readouts& made = all[owner];
    for (std::size_t i = 0; i < made.interfaces.size(); ++i) {
        made.interfaces.at(i) = new ReadoutInterface(owner);
        made.ids.at(i) = QAccessible::registerAccessibleInterface(made.interfaces.at(i));
    }
    QObject::connect(owner, &QObject::destroyed, [owner] {
        const auto gone = allReadouts().find(owner);
        for (const QAccessible::Id id : gone->second.ids) {
            QAccessible::deleteAccessibleInterface(id);
        }
        allReadouts().erase(gone);
    });
    return made;
}

} // namespace

void AccessibleReadout::announce(const Item& item, QWidget* fallback) {
    if (!QAccessible::isActive()) {
        return;
    }
    QWidget* owner = QApplication::focusWidget();
    if (owner == nullptr) {
        owner = fallback;
    }
    if (owner == nullptr) {
        return;
    }
    Readouts& readouts = readoutsFor(owner);
    readouts.interfaces.at(readouts.last)->mFocused = false;
    readouts.last = 1 - readouts.last;
    ReadoutInterface* next = readouts.interfaces.at(readouts.last);
    next->setItem(item);
    // Only a form's controls list their readouts; Orca takes an unlisted
    // object for a dead one, except a label.
    if (dynamic_cast<FlatControl*>(owner) == nullptr) {
        next->setRole(QAccessible::StaticText);
    }
    next->mFocused = true;
    QAccessibleEvent focus(next, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

// Plain text reads as a label, which Orca accepts even where no control
// lists it among its children.
void AccessibleReadout::announce(const QString& text, QWidget* fallback) {
    announce(Item{text, QAccessible::StaticText, std::nullopt}, fallback);
}

QList<QAccessibleInterface*> AccessibleReadout::readoutsOf(const QWidget* control) {
    const auto found = allReadouts().find(control);
    if (found == allReadouts().end()) {
        return {};
    }
    return {found->second.interfaces.begin(), found->second.interfaces.end()};
}

} // namespace forms
