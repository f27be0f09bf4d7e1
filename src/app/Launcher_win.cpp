#include "app/Launcher.h"

#include "app/CommandLine_win.h"
#include "config/SettingsReader_win.h"
#include "instance/SingleInstance_win.h"
#include "jvm/JvmLibrary_win.h"
#include "jvm/LaunchPreparation_win.h"
#include "jvm/VmThread_win.h"
#include "runtime/RuntimeSelectionHost_win.h"

Launcher::~Launcher()
{
    closeSplashWindow();
    if (javaVm != nullptr) {
        destroyVm();
    }
    if (settings.singleInstance) {
        stopSingleInstance();
    }
    readyEvent.reset();
    closeNativeSplash();
}

bool Launcher::initialize()
{
    arguments = splitProcessCommandLine();
    if (!readSettings()) {
        return false;
    }
    if (!setupSingleInstance()) {
        return false;
    }
    if (settings.singleInstance && !isPrimaryInstance) {
        return true;
    }
    if (settings.overrideWorkingDir) {
        applyWorkingDirectory(splashWindowHandle);
    }
    return selectRuntime();
}

int Launcher::run()
{
    if (relaunchThroughPair) {
        return relaunchThroughPairProduct();
    }
    if (!settings.singleInstance || isPrimaryInstance) {
        return normalLaunch();
    }
    return waitForPrimaryAnswer();
}

bool Launcher::readSettings()
{
    return readLauncherSettings(settings, splashWindowHandle);
}

// Steps that later parts of the launcher fill in.

bool Launcher::setupSingleInstance()
{
    return setupInstanceCoordination(*this);
}

bool Launcher::selectRuntime()
{
    Win32RuntimeSelectionHost host(settings, splashWindowHandle);
    const std::optional<RuntimeSelection> selection = ::selectRuntime(settings, host);
    if (!selection) {
        return false;
    }
    jvmLibraryPath = selection->jvmLibraryPath;
    relaunchThroughPair = selection->relaunchThroughPair;
    return true;
}

int Launcher::relaunchThroughPairProduct()
{
    // The companion launcher gets this launcher's own command line, program
    // path included; as a launcher of the same kind it drops that first token.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const wchar_t* ownCommandLine = ::GetCommandLineW();
    std::wstring commandLine = ownCommandLine != nullptr ? ownCommandLine : L"";
    ::CreateProcessW(settings.pairProduct.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process);
    // The companion's process and thread handles stay open, on purpose, until
    // this process ends.
    if (!settings.pairReturnCode) {
        return 0;
    }
    DWORD exitCode = 0;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    return static_cast<int>(exitCode);
}

int Launcher::waitForPrimaryAnswer()
{
    return waitForPrimaryInstanceAnswer(*this);
}

int Launcher::normalLaunch()
{
    prepareRuntimeEnvironment(*this);
    bool splashWanted = true;
    for (const std::wstring& argument : arguments) {
        if (argument == L"-nosplash" || argument == L"/nosplash") {
            splashWanted = false;
        }
    }
    if (splashWanted && !startSplash()) {
        return 0;
    }
    if (!loadJvmLibrary(*this)) {
        return -1;
    }
    assembleVmOptions(*this);
    if (startVmThread(*this) == 0) {
        return 0;
    }
    closeNativeSplash();
    return -1;
}

bool Launcher::startSplash()
{
    return true;
}

void Launcher::closeSplashWindow() {}

void Launcher::destroyVm()
{
    if (javaVm != nullptr) {
        // Waits for the application's last non-daemon thread.
        javaVm->DestroyJavaVM();
        javaVm = nullptr;
    }
}

void Launcher::stopSingleInstance()
{
    stopInstanceCoordination(*this);
}

void Launcher::closeNativeSplash() {}
