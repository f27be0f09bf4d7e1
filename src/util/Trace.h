#pragma once
#include <functional>
#include <string>

// The deployer's trace of a start: one line per decision the launcher takes
// (files read, runtimes accepted or rejected and why, options, results). Off
// unless the launcher was asked for it; then lines are only formatted when
// `on()` says someone reads them.
class Trace {
public:
    using Writer = std::function<void(const std::wstring& line)>;

    Trace() = default;
    explicit Trace(Writer writer) : writer_(std::move(writer)) {}

    bool on() const { return static_cast<bool>(writer_); }

    // Writes one line (the writer adds the time).
    void line(const std::wstring& text) const
    {
        if (writer_) {
            writer_(text);
        }
    }

private:
    Writer writer_;
};
