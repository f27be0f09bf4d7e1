#pragma once
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

// The deployer's trace of a start: one line per decision the launcher takes
// (files read, runtimes accepted or rejected and why, options, results). Off
// unless the launcher was asked for it; a line is then only put together when
// someone reads it.
class Trace {
public:
    using Writer = std::function<void(const std::wstring& line)>;

    Trace() = default;
    explicit Trace(Writer writer) : writer_(std::move(writer)) {}

    bool on() const { return static_cast<bool>(writer_); }

    // Writes one line made of `parts` (the writer adds the time).
    void line(std::initializer_list<std::wstring_view> parts) const;

private:
    Writer writer_;
};
