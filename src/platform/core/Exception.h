#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace platform {

/* The runtime's general exception class. Message() holds the text as bytes in
   the ANSI code page; ClassName() names the class the way error reports and
   logs print it. All exception classes live in the shared runtime library, so
   an exception raised in a plug-in is caught by its type in the host. */
class Exception : public std::exception {
 public:
  explicit Exception(std::string message);
  ~Exception() override;

  const std::string& Message() const noexcept { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  virtual const char* ClassName() const noexcept;
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

/* A Variant could not be converted or used the way it was asked to. */
class EVariantError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override;
};

/* A text could not be read as a number or date, or a Format pattern does not
   fit its arguments. */
class EConvertError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override;
};

/* An operating-system call failed; ErrorCode is the system's error number. */
class EWin32Error : public Exception {
 public:
  EWin32Error(std::string message, int32_t errorCode);
  const char* ClassName() const noexcept override;
  int32_t ErrorCode() const noexcept { return errorCode_; }

 private:
  int32_t errorCode_;
};

/* A file could not be read or written; ErrorCode is the system's error number. */
class EInOutError : public Exception {
 public:
  EInOutError(std::string message, int32_t errorCode);
  const char* ClassName() const noexcept override;
  int32_t ErrorCode() const noexcept { return errorCode_; }

 private:
  int32_t errorCode_;
};

/* A database error carrying the list of errors the engine reported. */
class EDBEngineError : public Exception {
 public:
  struct Entry {
    int32_t Code;
    std::string Message;
  };
  explicit EDBEngineError(std::vector<Entry> errors);
  const char* ClassName() const noexcept override;
  const std::vector<Entry>& Errors() const noexcept { return errors_; }

 private:
  std::vector<Entry> errors_;
};

/* Errors of late-bound calls (see Dispatch.h). EOleError is the common base. */
class EOleError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override;
};

/* The object has no method or property of that name. */
class EUnknownName : public EOleError {
 public:
  explicit EUnknownName(const std::string& name);
  const char* ClassName() const noexcept override;
};

/* The call's arguments do not fit: wrong count or a kind that cannot be used. */
class EBadArgument : public EOleError {
 public:
  using EOleError::EOleError;
  const char* ClassName() const noexcept override;
};

/* The called object raised an error of its own; Message() is its text and
   Source() the class name of the object that raised it. */
class EOleException : public EOleError {
 public:
  EOleException(std::string message, std::string source);
  const char* ClassName() const noexcept override;
  const std::string& Source() const noexcept { return source_; }

 private:
  std::string source_;
};

}  // namespace platform
