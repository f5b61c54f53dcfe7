#pragma once
// The outcome of a fallible step: success, or a code saying what kind of
// failure it was and the message the user will read. Code is an enumeration
// whose value-initialised member (0) means success: the builder's exit codes,
// a reader's error kinds. The message is UTF-8 text (std::string) below the
// editor, and a QString in the editor's document, which speaks Qt.

#include <string>
#include <utility>

namespace skedlin {

template <typename Code, typename Message = std::string>
class [[nodiscard]] Result {
public:
    Result() = default;
    Result(Code code, Message message) : code_(code), message_(std::move(message)) {}

    static Result success() { return Result(); }
    static Result failure(Code code, Message message) { return Result(code, std::move(message)); }

    bool ok() const { return code_ == Code{}; }
    explicit operator bool() const { return ok(); }
    Code code() const { return code_; }
    const Message& message() const { return message_; }

private:
    Code code_{};
    Message message_;
};

}  // namespace skedlin
