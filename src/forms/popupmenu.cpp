#include "forms/popupmenu.h"

#include <QMenu>

namespace forms::popupmenu {

namespace {

std::optional<int> showModal(QWidget* owner, const QList<Item>& items, QPoint globalPos) {
    QMenu menu(owner);
    menu.setToolTipsVisible(true);
    QList<const QAction*> actions;
    for (const Item& item : items) {
        if (item.separatorBefore) {
            menu.addSeparator();
        }
        QString text = item.text;
        QAction* action = menu.addAction(text.replace(QLatin1Char('&'), QLatin1String("&&")));
        action->setEnabled(item.enabled);
        if (!item.toolTip.isEmpty()) {
            action->setToolTip(item.toolTip);
            action->setStatusTip(item.toolTip);
        }
        actions << action;
    }
    const QAction* chosen = menu.exec(globalPos);
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
    return presenter()(owner, items, globalPos);
}

void setPresenter(Presenter replacement) {
    presenter() = replacement ? std::move(replacement) : Presenter(showModal);
}

} // namespace forms::popupmenu
