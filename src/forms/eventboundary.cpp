#include "forms/eventboundary.h"

#include "forms/application.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace forms::eventboundary {

namespace {

void reportAndExit(const RuntimeError& error) {
    std::fprintf(stderr, "%s\n", qPrintable(reportText(error)));
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QMessageBox::critical(nullptr, application::title(), reportText(error));
    }
    std::exit(EXIT_FAILURE);
}

ErrorHandler& errorHandler() {
    static ErrorHandler handler = reportAndExit;
    return handler;
}

} // namespace

QString reportText(const RuntimeError& error) {
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(error.number()).arg(error.text());
}

void setErrorHandler(ErrorHandler handler) {
    errorHandler() = handler ? std::move(handler) : ErrorHandler(reportAndExit);
}

void enter(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const RuntimeError& error) {
        errorHandler()(error);
    } catch (const std::bad_alloc&) {
        errorHandler()(RuntimeError::outOfMemory());
    } catch (const std::exception& error) {
        errorHandler()(RuntimeError::internalError(error.what()));
    }
}

} // namespace forms::eventboundary
