#pragma once
#include "runtime/RuntimeSelection.h"

// The runtime selection's questions answered by the real machine: files,
// PE headers and the registry; the user is asked through the reporter.
class Win32RuntimeSelectionHost : public RuntimeSelectionHost {
public:
    // `executablePath` is the running launcher's path.
    Win32RuntimeSelectionHost(const LauncherSettings& settings, const std::wstring& executablePath, Reporter& reporter,
                              const Trace& trace = Trace())
        : settings_(settings), executablePath_(executablePath), reporter_(reporter), trace_(trace)
    {
    }

    bool pathExists(const std::wstring& path) override;
    std::optional<std::wstring> executablePath() override;
    bool isX86Library(const std::wstring& path) override;
    std::vector<RuntimeCandidate> searchRegistry(const LauncherSettings& settings, RegistryView view) override;
    bool runsElevated() override;
    std::wstring loadMessage(int id) override;
    std::optional<std::wstring> environmentVariable(const std::wstring& name) override;
    std::optional<std::string> readSmallFile(const std::wstring& path) override;
    std::optional<UserChoice> askUserForRuntime(const std::wstring& message, const std::wstring& searched,
                                                JvmType jvmType) override;
    void rememberJrePath(const std::wstring& folder) override;

private:
    const LauncherSettings& settings_;
    const std::wstring& executablePath_;
    Reporter& reporter_;
    Trace trace_;
};
