#include "forms/runtimeerror.h"

namespace forms {

RuntimeError::RuntimeError(int32_t number, const QString& text)
    : std::runtime_error(text.toStdString()), mNumber(number) {}

RuntimeError RuntimeError::overflow() {
    return {error::Overflow, QStringLiteral("Overflow")};
}

RuntimeError RuntimeError::outOfMemory() {
    return {error::OutOfMemory, QStringLiteral("Out of memory")};
}

RuntimeError RuntimeError::typeMismatch() {
    return {error::TypeMismatch, QStringLiteral("Type mismatch")};
}

RuntimeError RuntimeError::internalError(const char* what) {
    return {error::InternalError,
            QStringLiteral("Internal error: %1").arg(QString::fromUtf8(what))};
}

RuntimeError RuntimeError::controlArrayElementMissing(int32_t index) {
    return {error::ControlArrayElementMissing,
            QStringLiteral("Control array element '%1' doesn't exist").arg(index)};
}

RuntimeError RuntimeError::invalidPropertyValue() {
    return {error::InvalidPropertyValue, QStringLiteral("Invalid property value")};
}

RuntimeError RuntimeError::invalidProcedureCall() {
    return {error::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument")};
}

RuntimeError RuntimeError::resourceNotFound(const QString& name) {
    return {error::ResourceNotFound,
            QStringLiteral("Resource with identifier '%1' not found").arg(name)};
}

RuntimeError RuntimeError::supportFailure(const char* function, int32_t status) {
    return {error::SupportLibraryFailure,
            QStringLiteral("%1 failed with status %2").arg(QLatin1String(function)).arg(status)};
}

} // namespace forms
