#include "forms/shellabout.h"

#include "forms/aboutdialog.h"

namespace forms::shellabout {

namespace {

void showModal(windows::WindowHandle owner, const QString& appText, const QString& otherText,
               const Picture& icon) {
    AboutDialog dialog(windows::windowOf(owner), appText, otherText, icon);
    dialog.exec();
}

Presenter& presenter() {
    static Presenter current = showModal;
    return current;
}

} // namespace

void show(windows::WindowHandle owner, const QString& appText, const QString& otherText,
          const Picture& icon) {
    presenter()(owner, appText, otherText, icon);
}

void setPresenter(Presenter replacement) {
    presenter() = replacement ? std::move(replacement) : Presenter(showModal);
}

} // namespace forms::shellabout
