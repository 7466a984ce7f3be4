#include "forms/label.h"

#include <QPainter>

namespace forms {

Label::Label(QWidget* parent) : FlatControl(parent) {
    setAccessibleRole(QAccessible::StaticText);
}

void Label::setCaption(const QString& caption) {
    if (caption == mCaption) {
        return;
    }
    mCaption = caption;
    // Screen readers read a label as its caption; setting the name announces
    // each change.
    setAccessibleName(caption);
    update();
}

void Label::setCentered(bool centered) {
    mAlignment = (centered ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
    update();
}

template <typename Setter> void Label::changeFont(Setter setter) {
    QFont changed = font();
    setter(changed);
    setFont(changed);
}

void Label::setFontBold(bool on) {
    changeFont([on](QFont& f) { f.setBold(on); });
}
void Label::setFontItalic(bool on) {
    changeFont([on](QFont& f) { f.setItalic(on); });
}
void Label::setFontUnderline(bool on) {
    changeFont([on](QFont& f) { f.setUnderline(on); });
}
void Label::setFontStrikethru(bool on) {
    changeFont([on](QFont& f) { f.setStrikeOut(on); });
}

void Label::paintContent(QPainter& painter, const QRect& /*dirty*/) {
    painter.setPen(resolved(foreColor()));
    painter.setFont(font());
    painter.drawText(clientRect(), static_cast<int>(mAlignment) | Qt::TextSingleLine, mCaption);
}

} // namespace forms
