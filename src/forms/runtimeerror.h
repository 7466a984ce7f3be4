#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

namespace forms {

// A trappable run-time error as the form runtime raises it: a number and its
// message. Thrown by the platform layer and the support library, caught only by
// the event-handler boundary.
class RuntimeError : public std::runtime_error {
  public:
    RuntimeError(int32_t number, const QString& text);

    int32_t number() const { return mNumber; }
    QString text() const { return QString::fromStdString(what()); }

    static RuntimeError outOfMemory();
    static RuntimeError overflow();
    static RuntimeError typeMismatch();
    static RuntimeError internalError(const char* what);
    static RuntimeError controlArrayElementMissing(int32_t index);
    static RuntimeError invalidPropertyValue();
    static RuntimeError invalidProcedureCall();
    static RuntimeError resourceNotFound(const QString& name);
    static RuntimeError supportFailure(const char* function, int32_t status);

  private:
    int32_t mNumber;
};

namespace error {
constexpr int32_t InvalidProcedureCall = 5;
constexpr int32_t Overflow = 6;
constexpr int32_t OutOfMemory = 7;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t InternalError = 51;
constexpr int32_t ResourceNotFound = 326;
constexpr int32_t ControlArrayElementMissing = 340;
constexpr int32_t InvalidPropertyValue = 380;
constexpr int32_t SupportLibraryFailure = 50000;
} // namespace error

} // namespace forms
