#pragma once
#include <utility>

// Runs a function when the scope ends, on every path, unless dismissed.
template <typename Function>
class ScopeExit {
public:
    explicit ScopeExit(Function function) : function_(std::move(function)) {}
    ~ScopeExit()
    {
        if (active_) {
            function_();
        }
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

    void dismiss() noexcept { active_ = false; }

private:
    Function function_;
    bool active_ = true;
};
