#include "platform/core/Exception.h"

namespace platform {

// Destructors and class names are defined here so that the type information
// of every exception class lives in the shared runtime library only.

Exception::Exception(std::string message) : message_(std::move(message)) {}
Exception::~Exception() = default;
const char* Exception::ClassName() const noexcept { return "Exception"; }

const char* EVariantError::ClassName() const noexcept { return "EVariantError"; }
const char* EConvertError::ClassName() const noexcept { return "EConvertError"; }

EWin32Error::EWin32Error(std::string message, int32_t errorCode)
    : Exception(std::move(message)), errorCode_(errorCode) {}
const char* EWin32Error::ClassName() const noexcept { return "EWin32Error"; }

EInOutError::EInOutError(std::string message, int32_t errorCode)
    : Exception(std::move(message)), errorCode_(errorCode) {}
const char* EInOutError::ClassName() const noexcept { return "EInOutError"; }

EDBEngineError::EDBEngineError(std::vector<Entry> errors)
    : Exception(errors.empty() ? std::string() : errors.front().Message),
      errors_(std::move(errors)) {}
const char* EDBEngineError::ClassName() const noexcept { return "EDBEngineError"; }

const char* EOleError::ClassName() const noexcept { return "EOleError"; }

EUnknownName::EUnknownName(const std::string& name)
    : EOleError("Method '" + name + "' not supported by automation object") {}
const char* EUnknownName::ClassName() const noexcept { return "EUnknownName"; }

const char* EBadArgument::ClassName() const noexcept { return "EBadArgument"; }

EOleException::EOleException(std::string message, std::string source)
    : EOleError(std::move(message)), source_(std::move(source)) {}
const char* EOleException::ClassName() const noexcept { return "EOleException"; }

}  // namespace platform
