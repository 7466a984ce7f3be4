#include "forms/popupmenu.h"

#include <QMenu>

namespace forms::popupmenu {

namespace {

std::optional<int> showModal(QWidget* owner, const QStringList& items, QPoint globalPos) {
    QMenu menu(owner);
    for (QString item : items) {
        menu.addAction(item.replace(QLatin1Char('&'), QLatin1String("&&")));
    }
    const QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr) {
        return std::nullopt;
    }
    return static_cast<int>(menu.actions().indexOf(chosen));
}

Presenter& presenter() {
    static Presenter current = showModal;
    return current;
}

} // namespace

std::optional<int> show(QWidget* owner, const QStringList& items, QPoint globalPos) {
    return presenter()(owner, items, globalPos);
}

void setPresenter(Presenter replacement) {
    presenter() = replacement ? std::move(replacement) : Presenter(showModal);
}

} // namespace forms::popupmenu
