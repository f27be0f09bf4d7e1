#include "jvm/VmThread_win.h"

#include <vector>

#include "app/ErrorReporting_win.h"
#include "app/Launcher.h"
#include "jvm/MainClass_win.h"
#include "jvm/StreamRedirection_win.h"

namespace {

// The runtime calls these when the application ends the VM; the runtime then
// ends the process in its own way, with the application's exit code.
void JNICALL vmExitHook(jint)
{
}

void JNICALL vmAbortHook()
{
}

int reasonMessageFor(jint result)
{
    switch (result) {
    case JNI_ERR: return IDS_JNI_ERR;
    case JNI_EDETACHED: return IDS_JNI_EDETACHED;
    case JNI_EVERSION: return IDS_JNI_EVERSION;
    case JNI_ENOMEM: return IDS_JNI_ENOMEM;
    case JNI_EEXIST: return IDS_JNI_EEXIST;
    case JNI_EINVAL: return IDS_JNI_EINVAL;
    default: return 0;
    }
}

// The work of the VM thread; 0 for success, 1 for failure.
int runVm(Launcher& launcher)
{
    if (!createJavaVm(launcher)) {
        return 1;
    }
    if (!invokeMainClass(launcher)) {
        return 1;
    }
    if (launcher.settings.isService) {
        // A service ends when its VM is gone; this waits for the application's
        // non-daemon threads.
        launcher.destroyVm();
    }
    return 0;
}

DWORD WINAPI vmThreadMain(LPVOID parameter)
{
    if (parameter == nullptr) {
        return 1;
    }
    return static_cast<DWORD>(runVm(*static_cast<Launcher*>(parameter)));
}

} // namespace

bool createJavaVm(Launcher& launcher)
{
    std::vector<JavaVMOption> options;
    options.reserve(launcher.vmOptions.size() + 2);
    for (std::string& option : launcher.vmOptions) {
        options.push_back(JavaVMOption{option.data(), nullptr});
    }
    char abortName[] = "abort";
    char exitName[] = "exit";
    options.push_back(JavaVMOption{abortName, reinterpret_cast<void*>(&vmAbortHook)});
    options.push_back(JavaVMOption{exitName, reinterpret_cast<void*>(&vmExitHook)});

    JavaVMInitArgs arguments{};
    arguments.version = JNI_VERSION_1_2;
    arguments.nOptions = static_cast<jint>(options.size());
    arguments.options = options.data();
    arguments.ignoreUnrecognized = JNI_FALSE;

    void* environment = nullptr;
    const jint result = launcher.jvmEntryPoints.createJavaVm(&launcher.javaVm, &environment, &arguments);
    if (result != JNI_OK) {
        launcher.javaVm = nullptr;
        const int reasonId = reasonMessageFor(result);
        const std::wstring reason = reasonId != 0 ? loadMessage(reasonId) : std::wstring();
        showErrorMessage(launcher.splashWindowHandle, IDS_JNI_EXCEPTION_REASON,
                         {loadMessage(IDS_CREATE_VM_FAILED), reason});
        return false;
    }
    launcher.jniEnv = static_cast<JNIEnv*>(environment);
    redirectStandardStreams(launcher);
    return true;
}

int startVmThread(Launcher& launcher)
{
    if (launcher.vmThreadStackSize == 0) {
        JDK1_1InitArgs defaults{};
        defaults.version = JNI_VERSION_1_1;
        launcher.jvmEntryPoints.getDefaultJavaVmInitArgs(&defaults);
        launcher.vmThreadStackSize = defaults.javaStackSize > 0 ? static_cast<unsigned long long>(defaults.javaStackSize) : 0;
    }
    UniqueHandle thread(::CreateThread(nullptr, static_cast<SIZE_T>(launcher.vmThreadStackSize), vmThreadMain,
                                       &launcher, 0, nullptr));
    if (!thread) {
        return runVm(launcher);
    }
    ::WaitForSingleObject(thread.get(), INFINITE);
    DWORD exitCode = 1;
    ::GetExitCodeThread(thread.get(), &exitCode);
    return static_cast<int>(exitCode);
}
