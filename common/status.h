#pragma once

#include <QString>

namespace vorlix {

// The outcome of an operation that can fail: ok, or a kind and a message
// that is fit to show to the user as it stands.
class [[nodiscard]] Status {
public:
    enum class Code { Ok, InvalidArgument, Corruption, IoError, NotFound, Cancelled };

    Status() = default;

    static Status Ok() { return Status(); }
    static Status InvalidArgument(const QString& message) { return {Code::InvalidArgument, message}; }
    static Status Corruption(const QString& message) { return {Code::Corruption, message}; }
    static Status IoError(const QString& message) { return {Code::IoError, message}; }
    static Status NotFound(const QString& message) { return {Code::NotFound, message}; }
    static Status Cancelled(const QString& message = QString()) { return {Code::Cancelled, message}; }

    bool ok() const { return code_ == Code::Ok; }
    Code code() const { return code_; }
    const QString& message() const { return message_; }
    // The same kind with another message (a longer explanation, say).
    Status WithMessage(QString message) const { return {code_, std::move(message)}; }
    // "ok", or the kind followed by the message; for logs and test output.
    QString ToString() const;

private:
    Status(Code code, QString message) : code_(code), message_(std::move(message)) {}

    Code code_ = Code::Ok;
    QString message_;
};

}  // namespace vorlix
