#pragma once

#include <QAccessibleWidget>

namespace forms {

// A widget's accessible interface that lists, after the widget's own
// children, the readouts it has announced: screen readers ignore an object
// that has no place among its parent's children.
class AccessibleReadoutParent : public QAccessibleWidget {
  public:
    explicit AccessibleReadoutParent(QWidget* widget);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    // Installs, once, the interface for windows of plain widgets (a screen
    // pick's overlay, say), which have nothing of their own but Qt's.
    static void installForPlainWindows();

  private:
    QList<QAccessibleInterface*> readouts() const;
};

} // namespace forms
