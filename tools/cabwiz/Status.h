#pragma once
// The outcome of one cabwiz step: success, or the message the user will read.

#include <string>
#include <utility>

namespace skedlin::cabwiz {

class Status {
public:
    static Status success() { return Status(); }
    static Status failure(std::string message) { return Status(std::move(message)); }

    bool ok() const { return ok_; }
    const std::string& message() const { return message_; }

private:
    Status() = default;
    explicit Status(std::string message) : ok_(false), message_(std::move(message)) {}

    bool ok_ = true;
    std::string message_;
};

}  // namespace skedlin::cabwiz
