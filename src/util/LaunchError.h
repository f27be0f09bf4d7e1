#pragma once
#include <cstdint>
#include <exception>

// A failure that only a broken machine or a programming error can cause
// (exhausted memory, an index outside a string). Nothing in the launcher
// catches it: the process ends abnormally, without a message.
class LaunchError : public std::exception {
public:
    explicit LaunchError(std::int32_t hresult) noexcept : code_(hresult) {}
    std::int32_t code() const noexcept { return code_; }
    const char* what() const noexcept override { return "launch error"; }

private:
    std::int32_t code_;
};

constexpr std::int32_t kHresultFail = static_cast<std::int32_t>(0x80004005u);
constexpr std::int32_t kHresultOutOfMemory = static_cast<std::int32_t>(0x8007000Eu);
constexpr std::int32_t kHresultInvalidArg = static_cast<std::int32_t>(0x80070057u);
constexpr std::int32_t kHresultArithmeticOverflow = static_cast<std::int32_t>(0x80070216u);

// Throws LaunchError with the given HRESULT; never returns.
[[noreturn]] void raiseLaunchError(std::int32_t hresult);
