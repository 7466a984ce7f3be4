#include "forms/form.h"

#include "forms/eventboundary.h"
#include "forms/keyboard.h"
#include "forms/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace forms {

Form::Form(QWidget* parent) : FlatControl(parent) {
    setBackColor(SystemColor::WindowBackground);
    QApplication::instance()->installEventFilter(this);
}

Form::~Form() {
    QApplication::instance()->removeEventFilter(this);
}

void Form::setClientSizeTwips(int width, int height) {
    setFixedSize(twips::toPixelSize(width, height));
}

void Form::unload() {
    mLoaded = false;
    close();
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !mLoaded) {
        return false;
    }
    auto* target = qobject_cast<QWidget*>(watched);
    // A key press travels from the focused control up to the form; the form
    // sees it once, at its first receiver.
    QWidget* firstReceiver = focusWidget() != nullptr ? focusWidget() : this;
    if (target != firstReceiver) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    int16_t keyCode = keyboard::virtualKeyCode(key->key());
    int16_t shift = keyboard::shiftMask(key->modifiers());
    eventboundary::enter([&] { keyDown(keyCode, shift); });
    return !mLoaded;
}

void Form::keyPressEvent(QKeyEvent* event) {
    int16_t keyCode = keyboard::virtualKeyCode(event->key());
    int16_t shift = keyboard::shiftMask(event->modifiers());
    if (keyCode == 0) {
        event->ignore();
        return;
    }
    eventboundary::enter([&] { keyNotTaken(keyCode, shift); });
    event->setAccepted(keyCode == 0);
}

void Form::closeEvent(QCloseEvent* event) {
    mLoaded = false;
    event->accept();
}

} // namespace forms
