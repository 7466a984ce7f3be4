#include "forms/popupmenu.h"

#include <QMenu>
#include <QScopeGuard>

namespace forms::popupmenu {

namespace {

// The menu being shown: its items, and how its actions follow an update.
struct Shown {
    QList<Item> items;
    std::function<void(int, const Item&)> update;
};

Shown& shown() {
    static Shown current;
    return current;
}

void setState(QAction* action, const Item& item) {
    action->setEnabled(item.enabled);
    action->setToolTip(item.toolTip);
    action->setStatusTip(item.toolTip);
}

std::optional<int> showModal(QWidget* owner, const QList<Item>& items, QPoint globalPos) {
    QMenu menu(owner);
    menu.setToolTipsVisible(true);
    QList<QAction*> actions;
    for (const Item& item : items) {
        if (item.separatorBefore) {
            menu.addSeparator();
        }
        QString text = item.text;
        QAction* action = menu.addAction(text.replace(QLatin1Char('&'), QLatin1String("&&")));
        setState(action, item);
        actions << action;
    }
    shown().update = [&actions](int index, const Item& item) { setState(actions.at(index), item); };
    QAction* chosen = menu.exec(globalPos);
    shown().update = nullptr;
    if (chosen == nullptr) {
        return std::nullopt;
    }
    return static_cast<int>(actions.indexOf(chosen));
}

Presenter& presenter() {
    static Presenter current = showModal;
    return current;
}

} // namespace

std::optional<int> show(QWidget* owner, const QList<Item>& items, QPoint globalPos) {
    shown().items = items;
    const auto forget = qScopeGuard([] { shown() = {}; });
    return presenter()(owner, items, globalPos);
}

void updateShown(int index, const Item& item) {
    Shown& current = shown();
    if (index < 0 || index >= current.items.size()) {
        return;
    }
    current.items[index] = item;
    if (current.update) {
        current.update(index, item);
    }
}

const QList<Item>& shownItems() {
    return shown().items;
}

void setPresenter(Presenter replacement) {
    presenter() = replacement ? std::move(replacement) : Presenter(showModal);
}

} // namespace forms::popupmenu
