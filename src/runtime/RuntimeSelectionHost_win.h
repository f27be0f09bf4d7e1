#pragma once
#include <windows.h>

#include "runtime/RuntimeSelection.h"

// The runtime selection's questions answered by the real machine: files,
// the executable's path, PE headers, the registry and the runtime-not-found
// dialog.
class Win32RuntimeSelectionHost : public RuntimeSelectionHost {
public:
    Win32RuntimeSelectionHost(const LauncherSettings& settings, HWND owner, const Trace& trace = Trace())
        : settings_(settings), owner_(owner), trace_(trace)
    {
    }

    bool pathExists(const std::wstring& path) override;
    std::optional<std::wstring> executablePath() override;
    bool isX86Library(const std::wstring& path) override;
    std::vector<RuntimeCandidate> searchRegistry(const LauncherSettings& settings, RegistryView view) override;
    std::wstring loadMessage(int id) override;
    std::optional<std::wstring> environmentVariable(const std::wstring& name) override;
    std::optional<std::string> readSmallFile(const std::wstring& path) override;
    std::optional<UserChoice> askUserForRuntime(const std::wstring& message, JvmType jvmType) override;
    void rememberJrePath(const std::wstring& folder) override;

private:
    const LauncherSettings& settings_;
    HWND owner_;
    Trace trace_;
};
