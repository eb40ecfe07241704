#pragma once

#include <exception>
#include <memory>
#include <string>

namespace contado {

// Every failure of the program is an exception carrying a message text.
class Exception : public std::exception {
  public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    void SetMessage(std::string message) { message_ = std::move(message); }
    const char* what() const noexcept override { return message_.c_str(); }
    // A copy of the exception of the same class, for errors wrapped by others.
    virtual std::shared_ptr<Exception> Clone() const { return std::make_shared<Exception>(*this); }

  private:
    std::string message_;
};

// The silent abort: ends an operation after its error has been shown already.
class EAbort : public Exception {
  public:
    EAbort() : Exception("Operation aborted") {}
    std::shared_ptr<Exception> Clone() const override { return std::make_shared<EAbort>(*this); }
};

// A text that cannot be converted to a value (dates, numbers).
class EConvertError : public Exception {
  public:
    using Exception::Exception;
    std::shared_ptr<Exception> Clone() const override { return std::make_shared<EConvertError>(*this); }
};

class EDatabaseError : public Exception {
  public:
    using Exception::Exception;
    std::shared_ptr<Exception> Clone() const override { return std::make_shared<EDatabaseError>(*this); }
};

// A change that could not be written while applying updates.
class EUpdateError : public EDatabaseError {
  public:
    EUpdateError(std::string message, std::string context, int errorCode, int previousError,
                 std::shared_ptr<Exception> originalException)
        : EDatabaseError(std::move(message)),
          context_(std::move(context)),
          errorCode_(errorCode),
          previousError_(previousError),
          originalException_(std::move(originalException)) {}

    const std::string& Context() const { return context_; }
    int ErrorCode() const { return errorCode_; }
    int PreviousError() const { return previousError_; }
    const std::shared_ptr<Exception>& OriginalException() const { return originalException_; }
    std::shared_ptr<Exception> Clone() const override { return std::make_shared<EUpdateError>(*this); }

  private:
    std::string context_;
    int errorCode_ = 0;
    int previousError_ = 0;
    std::shared_ptr<Exception> originalException_;
};

// A failing status of the client dataset engine.
class EDBClient : public EDatabaseError {
  public:
    EDBClient(std::string message, int errorCode)
        : EDatabaseError(std::move(message)), errorCode_(errorCode) {}
    int ErrorCode() const { return errorCode_; }
    std::shared_ptr<Exception> Clone() const override { return std::make_shared<EDBClient>(*this); }

  private:
    int errorCode_ = 0;
};

// A change that the provider refused, handed back while reconciling.
class EReconcileError : public EDBClient {
  public:
    EReconcileError(std::string message, std::string context, int errorCode, int previousError)
        : EDBClient(std::move(message), errorCode),
          context_(std::move(context)),
          previousError_(previousError) {}
    const std::string& Context() const { return context_; }
    int PreviousError() const { return previousError_; }
    std::shared_ptr<Exception> Clone() const override { return std::make_shared<EReconcileError>(*this); }

  private:
    std::string context_;
    int previousError_ = 0;
};

// "%s: %s": the component's name before a message that names it (no prefix without a name).
std::string PrefixedMessage(const std::string& componentName, const std::string& message);

}  // namespace contado
