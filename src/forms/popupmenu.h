#pragma once

#include <QList>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// The platform's pop-up menu: items shown literally (an ampersand is just an
// ampersand) at a point of the screen, modal until one is chosen or the menu
// is dismissed. Tests replace the presenter.
namespace forms::popupmenu {

struct Item {
    QString text;
    // A disabled item says why in its tool tip.
    bool enabled = true;
    QString toolTip;
    bool separatorBefore = false;
};

// The index of the item chosen, or none.
using Presenter =
    std::function<std::optional<int>(QWidget* owner, const QList<Item>& items, QPoint globalPos)>;

std::optional<int> show(QWidget* owner, const QList<Item>& items, QPoint globalPos);

// Changes item `index` of the menu being shown, for a state that becomes
// known while it is open; nothing when no menu is shown.
void updateShown(int index, const Item& item);
// The items of the menu being shown, as updated; empty when none is.
const QList<Item>& shownItems();

void setPresenter(Presenter presenter);

} // namespace forms::popupmenu
