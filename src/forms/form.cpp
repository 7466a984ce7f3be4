#include "forms/form.h"

#include "forms/keyboard.h"
#include "forms/twips.h"
#include "forms/windowplacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace forms {

Form::Form(QWidget* parent) : FlatControl(parent) {
    setBackColor(SystemColor::WindowBackground);
    QApplication::instance()->installEventFilter(this);
    placement::followMonitors(this);
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
    keyboard::callKeyDown(*static_cast<QKeyEvent*>(event),
                          [this](int16_t& keyCode, int16_t& shift) { keyDown(keyCode, shift); });
    return !mLoaded;
}

void Form::keyPressEvent(QKeyEvent* event) {
    keyboard::takeOrPassOnKey(
        *event, [this](int16_t& keyCode, int16_t& shift) { keyNotTaken(keyCode, shift); });
}

void Form::closeEvent(QCloseEvent* event) {
    mLoaded = false;
    event->accept();
    if (onUnloaded) {
        onUnloaded();
    }
}

} // namespace forms
