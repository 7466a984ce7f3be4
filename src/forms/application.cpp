#include "forms/application.h"

namespace forms::application {

namespace {
QString& storedTitle() {
    static QString title;
    return title;
}
} // namespace

void setTitle(const QString& title) {
    storedTitle() = title;
}

QString title() {
    return storedTitle();
}

} // namespace forms::application
