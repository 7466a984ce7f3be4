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

void setPresenter(Presenter presenter);

} // namespace forms::popupmenu
