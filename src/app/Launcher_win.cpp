#include "app/Launcher.h"

#include "app/CommandLine_win.h"
#include "config/SettingsReader.h"
#include "config/SettingsReader_win.h"
#include "jvm/ClassDataArchive_win.h"
#include "jvm/JvmLibrary_win.h"
#include "jvm/LaunchPreparation_win.h"
#include "jvm/RuntimeEnvironment.h"
#include "jvm/VmThread_win.h"
#include "runtime/RuntimeSelectionHost_win.h"
#include "util/EnvironmentExpansion_win.h"
#include "util/MessageIds.h"
#include "util/Path_win.h"

Launcher::Launcher(Trace trace, bool consoleForm)
    : trace_(std::move(trace)),
      consoleForm_(consoleForm),
      windowedReporter_(
          splashWindowHandle_, [](void* launcher) { static_cast<Launcher*>(launcher)->closeSplashWindow(); }, this),
      reporter_(consoleForm ? static_cast<Reporter*>(&consoleReporter_) : &windowedReporter_)
{
}

Launcher::~Launcher()
{
    shutdown(-1);
}

int Launcher::shutdown(int runResult)
{
    if (shutDown_) {
        return runResult;
    }
    shutDown_ = true;
    closeSplashWindow();
    instance_.stopJoiningVm();
    // Waits for the application's last non-daemon thread; a System.exit there
    // ends the process with its own code.
    destroyVm(vm_);
    afterApplication(vmLaunch_, vm_);
    // What the application wrote last reaches standard error before the end.
    errorCapture_.flush();
    instance_.stop();
    closeNativeSplash();
    // The standard java launcher's code for a main that threw: scripts and
    // installers must not read the failure as success.
    return vm_.uncaughtException && runResult == 0 ? 1 : runResult;
}

bool Launcher::fail(const Failure& failure)
{
    reporter_->reportFailure(failure);
    return false;
}

Expected<void> Launcher::readConfiguration()
{
    arguments_ = splitProcessCommandLine();
    Expected<std::wstring> executable = readExecutablePath();
    if (!executable) {
        return executable.failure();
    }
    executablePath_ = std::move(*executable);
    return readLauncherSettings(settings_, executablePath_, trace_, config_);
}

void Launcher::serveThrough(Reporter& reporter, unsigned count, wchar_t** startParameters)
{
    reporter_ = &reporter;
    for (unsigned i = 0; i < count; ++i) {
        arguments_.emplace_back(startParameters[i]);
    }
}

ServiceSettings Launcher::serviceSettings() const
{
    return config_ ? readServiceSettings(*config_) : ServiceSettings{};
}

std::wstring Launcher::configuredErrorFile() const
{
    const std::wstring errorFile = config_ ? readLaunchOptionSettings(*config_).errorFile : std::wstring();
    return errorFile.empty() ? errorFile : expandEnvironmentStrings(errorFile).value_or(errorFile);
}

int Launcher::start(const Expected<void>& configuration)
{
    int exitCode = -1;
    if (initialize(configuration)) {
        exitCode = run();
    }
    return shutdown(exitCode);
}

bool Launcher::initialize(const Expected<void>& configuration)
{
    if (!configuration) {
        return fail(configuration.failure());
    }
    windowedReporter_.setService(settings_.isService);
    if (!instance_.setup(arguments_, settings_, *config_, vm_, executablePath_, trace_)) {
        return false;
    }
    if (instance_.active() && !instance_.isPrimary()) {
        return true;
    }
    if (settings_.overrideWorkingDir) {
        applyWorkingDirectory(executablePath_);
    }
    return selectRuntime();
}

int Launcher::run()
{
    if (relaunchThroughPair_) {
        return relaunchThroughPairProduct();
    }
    if (!instance_.active() || instance_.isPrimary()) {
        return normalLaunch();
    }
    return instance_.waitForPrimaryAnswer();
}

bool Launcher::selectRuntime()
{
    Win32RuntimeSelectionHost host(settings_, executablePath_, *reporter_, trace_);
    const std::optional<RuntimeSelection> selection = ::selectRuntime(settings_, host, trace_);
    if (!selection) {
        trace_.line({L"no runtime chosen: the start ends"});
        return false;
    }
    trace_.line({L"JVM library: ", selection->jvmLibraryPath,
                 selection->relaunchThroughPair ? L" (32-bit: the companion launcher starts instead)" : L""});
    jvmLibraryPath_ = selection->jvmLibraryPath;
    relaunchThroughPair_ = selection->relaunchThroughPair;
    runtimeVersion_ = selection->version;
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
    if (!::CreateProcessW(settings_.pairProduct.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        // Nothing ran: the start failed, whether or not its code was asked for.
        return -1;
    }
    // The companion's process and thread handles stay open, on purpose, until
    // this process ends.
    if (!settings_.pairReturnCode) {
        return 0;
    }
    DWORD exitCode = 0;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    return static_cast<int>(exitCode);
}

int Launcher::normalLaunch()
{
    Expected<std::optional<std::string>> libraryPathOption =
        prepareRuntimeEnvironment(jvmLibraryPath_, settings_, executablePath_, trace_);
    if (!libraryPathOption) {
        fail(libraryPathOption.failure());
        return libraryPathOption.failure().exitCode;
    }
    if (*libraryPathOption) {
        vmLaunch_.options.push_back(std::move(**libraryPathOption));
    }
    // From here until main begins, what the runtime writes to standard error
    // is kept, so that a start it refuses can say why. The runtime's C library
    // takes its standard error when its first library loads: the native
    // splash library or the JVM library. In the console form the runtime
    // writes straight to the inherited handles, in front of the user.
    if (!settings_.isService && !consoleForm_) {
        errorCapture_.start();
        vmLaunch_.errorCapture = &errorCapture_;
    }
    bool splashWanted = true;
    for (const std::wstring& argument : arguments_) {
        if (argument == L"-nosplash" || argument == L"/nosplash") {
            splashWanted = false;
        }
    }
    if (splashWanted && !startSplash()) {
        return 0;
    }
    const Expected<JvmEntryPoints> entryPoints = loadJvmLibrary(jvmLibraryPath_, trace_);
    if (!entryPoints) {
        reporter_->reportFailure(entryPoints.failure());
        return entryPoints.failure().exitCode;
    }
    vmLaunch_.entryPoints = *entryPoints;
    if (!addConfiguredOptions()) {
        return -1;
    }
    vmLaunch_.mainClass = settings_.mainClass;
    vmLaunch_.arguments = std::move(arguments_);
    vmLaunch_.isService = settings_.isService;
    vmLaunch_.failureCheck = settings_.failureCheck;
    vmLaunch_.stayAttached = ibmRuntimeAdmitted(settings_);
    vmLaunch_.readyEvent = instance_.readyEvent();
    vmLaunch_.reporter = reporter_;
    vmLaunch_.runtimeFolder = runtimeFoldersFor(jvmLibraryPath_).home;
    vmLaunch_.trace = trace_;
    if (startVmThread(vmLaunch_, vm_) == 0) {
        return 0;
    }
    closeNativeSplash();
    return -1;
}

bool Launcher::addConfiguredOptions()
{
    // An empty class path is reported; the VM is still created, without the
    // configured options. An option that cannot be passed ends the start.
    Expected<VmOptionAssembly> assembly = assembleVmOptions(*config_, executablePath_, arguments_, trace_);
    if (!assembly) {
        reporter_->reportFailure(assembly.failure());
        return assembly.failure().messageId == IDS_CLASS_PATH_MISSING;
    }
    // Before the user's parameters, so that an archive option of theirs wins.
    vmLaunch_.archive = classDataArchiveOptions(settings_, jvmLibraryPath_, runtimeVersion_, assembly->options, trace_);
    for (std::string& option : vmLaunch_.archive.options) {
        vmLaunch_.options.push_back(std::move(option));
    }
    for (std::string& option : assembly->options) {
        vmLaunch_.options.push_back(std::move(option));
    }
    vmLaunch_.threadStackSize = assembly->vmThreadStackSize;
    vmLaunch_.streams = StreamTargets{std::move(assembly->outputFile), assembly->outputAppend,
                                      std::move(assembly->errorFile), assembly->errorAppend};
    return true;
}

bool Launcher::startSplash()
{
    // Only the file beside the executable names a splash: embedded settings
    // and extension sections do not apply to these keys.
    if (!config_) {
        return false;
    }
    const SplashSettings splash = readSplashSettings(config_->file());
    if (splash.image.empty()) {
        return true;
    }
    if (splash.preferNative && startNativeSplash(jvmLibraryPath_, splash.image, nativeSplashClose_)) {
        return true;
    }
    splashWindow_ = SplashWindow::start(splash.image, splash.shadow == L"true", splashWindowHandle_);
    return true;
}

void Launcher::closeSplashWindow()
{
    if (splashWindow_) {
        splashWindow_.reset();
        splashWindowHandle_ = nullptr;
    }
}

void Launcher::closeNativeSplash()
{
    nativeSplashClose_.invoke();
}
