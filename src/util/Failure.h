#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "util/MessageFormat.h"

// A failure that ends the start, as a value: which text of the string table
// tells the user, with what arguments, the platform's error code where there
// is one, and the exit code the start ends with. Steps return it; only the
// top of the launcher decides how it reaches the user.
struct Failure {
    int messageId = 0;                        // 0: the start ends without a message
    std::vector<MessageArgument> arguments;
    std::uint32_t windowsError = 0;           // 0: none
    int exitCode = -1;
    // What the runtime itself wrote about the failure; shown on the lines
    // after the message.
    std::wstring runtimeWords;
};

// A failure whose text is message `messageId` with `arguments`.
inline Failure failureOf(int messageId, std::vector<MessageArgument> arguments = {})
{
    Failure failure;
    failure.messageId = messageId;
    failure.arguments = std::move(arguments);
    return failure;
}

// The platform failure: "Windows exception: <detail> (errno = <code>)." with
// the text of `detailId` and the error code of the failing call.
Failure windowsFailure(int detailId, std::uint32_t errorCode);

// The whole text of `failure`, with the texts of the string table that
// `loadMessage` returns; the runtime's words follow on a line of their own.
std::wstring failureText(const Failure& failure, std::wstring (*loadMessage)(int id));

// The outcome of a step: its value, or the failure that ends the start.
template <typename T>
class Expected {
public:
    Expected(T value) : value_(std::move(value)) {}
    Expected(Failure failure) : failure_(std::move(failure)) {}

    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    // Valid when the step failed.
    const Failure& failure() const { return failure_; }

private:
    std::optional<T> value_;
    Failure failure_;
};

// The outcome of a step that has no value of its own.
template <>
class Expected<void> {
public:
    Expected() = default;
    Expected(Failure failure) : failed_(true), failure_(std::move(failure)) {}

    explicit operator bool() const { return !failed_; }
    const Failure& failure() const { return failure_; }

private:
    bool failed_ = false;
    Failure failure_;
};
