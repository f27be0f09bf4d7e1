#pragma once
#include "util/Reporter.h"

// The console form's answers: every message goes to standard error as text,
// and nothing waits for a click.
class ConsoleReporter : public Reporter {
public:
    void reportFailure(const Failure& failure) override;
    void reportStartRefused(const Failure& failure) override;
    std::optional<RuntimeChoice> askForRuntime(const std::wstring& message, const std::wstring& searched,
                                               const std::wstring& downloadPage,
                                               const RuntimeFolderProbe& probe) override;
    ExceptionChoice askAfterException(const std::optional<std::wstring>& trace) override;
};
