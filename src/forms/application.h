#pragma once

#include <QString>

// The application object's title: the program hands it over at start-up, and
// message boxes without a title of their own show it. Kept apart from Qt's
// application display name, which Qt would append to every window caption.
namespace forms::application {

void setTitle(const QString& title);
QString title();

} // namespace forms::application
