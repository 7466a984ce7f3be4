#include "palette/screenpicksession.h"

#include "forms/automaticdrag.h"
#include "forms/eventboundary.h"
#include "forms/label.h"
#include "forms/messagebox.h"
#include "forms/modalwindow.h"
#include "forms/picturebox.h"

#include <QApplication>
#include <QEvent>
#include <QScopeGuard>

namespace {

const QString NoScreenPickText =
    QStringLiteral("Picking a colour from the screen needs an X11 session or a desktop portal "
                   "that picks colours: ");

} // namespace

ScreenPickSession::ScreenPickSession(forms::PictureBox& preview, forms::Label& status,
                                     std::function<void(forms::ColorValue)> show,
                                     std::function<void(forms::ColorValue, QPoint)> take)
    : mPreview(preview), mStatus(status), mShow(std::move(show)), mTake(std::move(take)) {}

ScreenPickSession::~ScreenPickSession() {
    QCoreApplication::instance()->removeEventFilter(this);
    if (mPicker) {
        mPicker->onHover = nullptr;
        mPicker->onFinished = nullptr;
    }
}

bool ScreenPickSession::isAvailable() {
    return screenpick::availability().available;
}

QString ScreenPickSession::unavailableText() {
    return NoScreenPickText + screenpick::availability().missing;
}

std::optional<int> ScreenPickSession::showMenuWithPick(QWidget* owner,
                                                       QList<forms::popupmenu::Item> items,
                                                       const QString& text, QPoint globalPos) {
    const auto pickItem = [text] {
        const bool pickable = isAvailable();
        return forms::popupmenu::Item{text, pickable, pickable ? QString() : unavailableText(),
                                      true};
    };
    items.append(pickItem());
    const int index = static_cast<int>(items.size()) - 1;
    const int watch = screenpick::watchAvailability(
        [index, pickItem] { forms::popupmenu::updateShown(index, pickItem()); });
    const auto forget = qScopeGuard([watch] { screenpick::forgetWatch(watch); });
    return forms::popupmenu::show(owner, items, globalPos);
}

void ScreenPickSession::start(QWidget* liveWindow) {
    // A box that waits for an answer keeps the window's input; a key that
    // reached the window before the box had the focus starts nothing.
    if (QApplication::activeModalWidget() != nullptr) {
        return;
    }
    if (isRunning()) {
        if (!mPicker->yieldsToNewStart()) {
            return;
        }
        mPicker->cancel();
    }
    if (!isAvailable()) {
        forms::messagebox::msgBox(unavailableText() + QLatin1Char('.'));
        return;
    }
    mPicker = screenpick::create();
    if (!mPicker) {
        return;
    }
    mPreviewBefore = mPreview.backColor();
    mStatusBefore = mStatus.caption();
    mPicker->onHover = [this](const screenpick::Pick& under) {
        forms::eventboundary::enter([&] { mShow(forms::colorValueFromRgb(under.color)); });
    };
    mPicker->onFinished = [this](const std::optional<screenpick::Pick>& pick) {
        forms::eventboundary::enter([&] { finished(pick); });
    };
    mPicker->setLiveWindow(liveWindow);
    // The pick takes pointer and keys: a drag under way ends, as it does when
    // a box or menu opens.
    forms::automaticdrag::end();
    QCoreApplication::instance()->installEventFilter(this);
    mPicker->start();
}

void ScreenPickSession::cancel() {
    if (isRunning()) {
        mPicker->cancel();
    }
}

bool ScreenPickSession::isRunning() const {
    return mPicker && mPicker->isRunning();
}

bool ScreenPickSession::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && forms::isModalOrPopup(watched)) {
        cancel();
    }
    return false;
}

void ScreenPickSession::finished(const std::optional<screenpick::Pick>& pick) {
    QCoreApplication::instance()->removeEventFilter(this);
    const QString refusal = mPicker->refusal();
    // Deleted once it has returned from the call that ended it.
    mPicker.release()->deleteLater();
    if (pick) {
        mTake(forms::colorValueFromRgb(pick->color), pick->devicePixel.value_or(QPoint()));
        return;
    }
    mPreview.setBackColor(mPreviewBefore);
    mStatus.setCaption(mStatusBefore);
    if (!refusal.isEmpty()) {
        forms::messagebox::msgBox(refusal);
    }
}
