#include "palette/screenpicksession.h"

#include "forms/accessiblereadout.h"
#include "forms/automaticdrag.h"
#include "forms/eventboundary.h"
#include "forms/label.h"
#include "forms/messagebox.h"
#include "forms/modalwindow.h"
#include "forms/picturebox.h"
#include "palette/colorreadout.h"

#include <QApplication>
#include <QEvent>
#include <QScopeGuard>

namespace {

const QString NoScreenPickText =
    QStringLiteral("Picking a colour from the screen needs an X11 session or a desktop portal "
                   "that picks colours: ");

// A colour as a screen-reader user hears it.
QString spoken(forms::ColorValue color) {
    return palette::readout::spokenText(palette::readout::split(color));
}

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
    mPicker->onHover = [this](const screenpick::Pick& under, bool nudged) {
        forms::eventboundary::enter([&] {
            const forms::ColorValue color = forms::colorValueFromRgb(under.color);
            mShow(color);
            // The pointer's moves stay silent, as a hover over a bar does.
            if (nudged) {
                forms::AccessibleReadout::announce(spoken(color));
            }
        });
    };
    mPicker->onFinished = [this](const std::optional<screenpick::Pick>& pick) {
        forms::eventboundary::enter([&] { finished(pick); });
    };
    mPicker->setLiveWindow(liveWindow);
    mLiveWindow = liveWindow;
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
        const forms::ColorValue color = forms::colorValueFromRgb(pick->color);
        mTake(color, pick->devicePixel.value_or(QPoint()));
        forms::AccessibleReadout::announceOnReturn(
            QStringLiteral("Picked ") +
                palette::readout::spokenText(palette::readout::split(color)),
            mLiveWindow);
        return;
    }
    mPreview.setBackColor(mPreviewBefore);
    mStatus.setCaption(mStatusBefore);
    forms::AccessibleReadout::announceOnReturn(QStringLiteral("Pick cancelled"), mLiveWindow);
    if (!refusal.isEmpty()) {
        forms::messagebox::msgBox(refusal);
    }
}
