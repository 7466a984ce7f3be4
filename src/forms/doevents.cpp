#include "forms/doevents.h"

#include <QCoreApplication>

namespace forms {

namespace {
std::function<void()>& yieldObserver() {
    static std::function<void()> observer;
    return observer;
}
} // namespace

void doEvents() {
    if (yieldObserver()) {
        yieldObserver()();
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void setYieldObserver(std::function<void()> observer) {
    yieldObserver() = std::move(observer);
}

} // namespace forms
