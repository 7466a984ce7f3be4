#include "palette/palettecontrols.h"

#include "forms/twips.h"
#include "palette/captionfont.h"

#include <map>

PaletteControls::PaletteControls(QWidget* parent) : forms::UserControl(parent) {
    setBackColor(forms::SystemColor::WindowBackground);
    setForeColor(forms::SystemColor::WindowText);
    setFont(palette::captionFont(font()));
    resize(
        forms::twips::toPixelSize(palette::layout::ControlWidth, palette::layout::ControlHeight));
    createChildren();
}

void PaletteControls::createChildren() {
    std::map<QString, QWidget*> containers;
    QWidget* previousInTabOrder = nullptr;
    for (const auto& child : palette::layout::Children) {
        const QString name = QLatin1String(child.name);
        QWidget* container = child.container == nullptr
                                 ? static_cast<QWidget*>(this)
                                 : containers.at(QLatin1String(child.container));
        QWidget* widget = createChild(child, container);
        containers[name] = widget;
        forms::placeInTwips(widget, child.left, child.top, child.width, child.height);
        widget->setObjectName(child.index == palette::layout::NotInArray
                                  ? name
                                  : QStringLiteral("%1(%2)").arg(name).arg(child.index));
        widget->setProperty("tabIndex", child.tabIndex);
        if (child.accessibleName != nullptr) {
            widget->setAccessibleName(QString::fromUtf8(child.accessibleName));
        }
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previousInTabOrder != nullptr) {
                QWidget::setTabOrder(previousInTabOrder, widget);
            }
            previousInTabOrder = widget;
        }
    }
    describeForAssistiveTechnology();
}

// Makes one child of the layout table and keeps it where the procedures find it.
QWidget* PaletteControls::createChild(const palette::layout::ChildControl& child,
                                      QWidget* container) {
    using palette::layout::Role;
    if (child.role == Role::Icon) {
        imgIcon = new forms::ImageControl(container);
        return imgIcon;
    }
    forms::FlatControl* control = nullptr;
    if (child.role == Role::StatusBar || child.role == Role::Title) {
        auto* label = new forms::Label(container);
        label->setCaption(QString::fromUtf8(child.caption));
        label->setCentered(child.alignment == palette::layout::Alignment::Centre);
        if (child.role == Role::StatusBar) {
            lblStatusBar = label;
        } else {
            lblTitle.add(child.index, label);
        }
        control = label;
    } else {
        auto* box = new forms::PictureBox(container);
        box->setFocusPolicy(Qt::StrongFocus);
        switch (child.role) {
        case Role::ToolBar:
            picToolBar = box;
            break;
        case Role::ColorBar:
            picColorBar.add(child.index, box);
            break;
        case Role::Sidebar:
            picSidebar = box;
            break;
        case Role::SelectedColor:
            picSelectedColor = box;
            break;
        default:
            picColorPreview = box;
            break;
        }
        control = box;
    }
    control->setBorder(child.border);
    control->setBackColor(child.backColor);
    control->setForeColor(child.foreColor);
    return control;
}

void PaletteControls::describeForAssistiveTechnology() {
    picToolBar->setAccessibleRole(QAccessible::ToolBar);
    picToolBar->setAccessibleDescription(
        QStringLiteral("Three buttons, top to bottom: switch the grey background; switch "
                       "title-bar colours for the titles; about Color palette. Up and Down "
                       "choose a button, Space presses it"));
    for (const auto member : picColorBar) {
        member.control.setAccessibleDescription(
            QStringLiteral("Point at the bar to read a colour; drag it onto Selected color to "
                           "keep the colour last read. Up, Down, Page Up, Page Down, Home and "
                           "End read along the bar, Space keeps the colour, Ctrl+C copies it"));
    }
    picSelectedColor->setAccessibleDescription(
        QStringLiteral("Keeps the colour of a bar dropped on it; double-click to read it back. "
                       "Space reads it back too"));
    lblStatusBar->setAccessibleRole(QAccessible::StatusBar);
}
