#include "forms/messagebox.h"

#include "forms/application.h"

#include <QApplication>
#include <QMessageBox>

namespace forms::messagebox {

namespace {

int showModal(const QString& prompt, int /*buttons*/, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
    return ResultOk;
}

Presenter& presenter() {
    static Presenter current = showModal;
    return current;
}

} // namespace

int msgBox(const QString& prompt, int buttons, const QString& title) {
    return presenter()(prompt, buttons, title.isEmpty() ? application::title() : title);
}

void setPresenter(Presenter replacement) {
    presenter() = replacement ? std::move(replacement) : Presenter(showModal);
}

} // namespace forms::messagebox
