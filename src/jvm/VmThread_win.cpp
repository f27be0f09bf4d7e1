#include "jvm/VmThread_win.h"

#include <vector>

#include "jvm/ErrorCapture_win.h"
#include "jvm/MainClass_win.h"
#include "jvm/StartFailure_win.h"
#include "jvm/StreamRedirection_win.h"
#include "util/MessageIds.h"
#include "util/TextConversion_win.h"
#include "util/UniqueHandle_win.h"
#include "util/AsciiText.h"

namespace {

// One start of the VM: what the VM thread works on (it lives on the stack of
// the thread that waits for it), and what the exit hook reports on.
struct VmThreadWork {
    VmLaunch* launch = nullptr;
    VmState* vm = nullptr;
};

// The runtime calls the exit hook without any context of the launcher's, so
// its start is kept here, for the one VM of the process; it is written
// before the VM exists.
VmThreadWork hookTarget;

// The runtime calls these when the VM ends; it then ends the process in its
// own way, with the exit code given. Before main began that is the runtime
// refusing the start (its launcher helper found no main class, a class file
// is too new...): the user is told why, in the runtime's words.
void JNICALL vmExitHook(jint code)
{
    if (hookTarget.launch == nullptr) {
        return;
    }
    const bool beforeMain = !hookTarget.vm->mainBegan.load();
    hookTarget.launch->trace.line({L"the runtime ends the process with exit code ", signedDecimalText(code),
                                   beforeMain ? L", before main began" : L""});
    if (beforeMain) {
        reportStartFailure(*hookTarget.launch, *hookTarget.vm, Failure{});
    } else {
        afterApplication(*hookTarget.launch, *hookTarget.vm);
        if (hookTarget.launch->errorCapture != nullptr) {
            // The process ends right after: the application's last words first.
            hookTarget.launch->errorCapture->flush();
        }
    }
    hookTarget.launch->reporter->reportEnd(static_cast<int>(code));
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
int runVm(VmLaunch& launch, VmState& vm)
{
    if (!createJavaVm(launch, vm)) {
        return 1;
    }
    if (!invokeMainClass(launch, vm)) {
        return 1;
    }
    if (launch.isService) {
        // A service ends when its VM is gone; this waits for the application's
        // non-daemon threads.
        destroyVm(vm);
    }
    return 0;
}

DWORD WINAPI vmThreadMain(LPVOID parameter)
{
    if (parameter == nullptr) {
        return 1;
    }
    const VmThreadWork& work = *static_cast<VmThreadWork*>(parameter);
    return static_cast<DWORD>(runVm(*work.launch, *work.vm));
}

} // namespace

bool createJavaVm(VmLaunch& launch, VmState& vm)
{
    std::vector<JavaVMOption> options;
    options.reserve(launch.options.size() + 2);
    for (std::string& option : launch.options) {
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

    if (launch.trace.on()) {
        for (const std::string& option : launch.options) {
            launch.trace.line({L"VM option: ", fromThreadAnsi(option)});
        }
    }
    hookTarget = VmThreadWork{&launch, &vm};
    void* environment = nullptr;
    const jint result = launch.entryPoints.createJavaVm(&vm.javaVm, &environment, &arguments);
    launch.trace.line({L"JNI_CreateJavaVM returned ", signedDecimalText(result)});
    if (result != JNI_OK) {
        vm.javaVm = nullptr;
        const int reasonId = reasonMessageFor(result);
        reportStartFailure(launch, vm,
                           failureOf(IDS_JNI_EXCEPTION_REASON,
                                     {MessageArgument::textOf(IDS_CREATE_VM_FAILED),
                                      reasonId != 0 ? MessageArgument::textOf(reasonId) : MessageArgument(L"")}));
        return false;
    }
    vm.jniEnv = static_cast<JNIEnv*>(environment);
    // The names are needed once; their patterns are filled in on the way.
    vm.errorFile = redirectStandardStreams(vm.jniEnv, std::move(launch.streams));
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!vm.errorFile.empty() && ::GetFileAttributesExW(vm.errorFile.c_str(), GetFileExInfoStandard, &attributes)) {
        vm.errorFileStart = (static_cast<std::uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    }
    return true;
}

void afterApplication(VmLaunch& launch, VmState& vm)
{
    if (vm.mainBegan.load() && !vm.applicationEnded.exchange(true)) {
        startArchiveWriter(launch.archive, launch.trace);
    }
}

void destroyVm(VmState& vm)
{
    if (vm.javaVm != nullptr) {
        vm.javaVm->DestroyJavaVM();
        vm.javaVm = nullptr;
    }
}

int startVmThread(VmLaunch& launch, VmState& vm)
{
    if (launch.threadStackSize == 0) {
        JDK1_1InitArgs defaults{};
        defaults.version = JNI_VERSION_1_1;
        launch.entryPoints.getDefaultJavaVmInitArgs(&defaults);
        launch.threadStackSize = defaults.javaStackSize > 0 ? static_cast<std::uint64_t>(defaults.javaStackSize) : 0;
    }
    VmThreadWork work{&launch, &vm};
    // The size is reserved, not committed: the stack grows into it as the
    // application needs (a gigabyte for "-Xss1g" costs address space only).
    UniqueHandle thread(::CreateThread(nullptr, static_cast<SIZE_T>(launch.threadStackSize), vmThreadMain, &work,
                                       STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    const DWORD error = ::GetLastError();
    // Standard error is read from now on, while the VM's thread is on its way.
    if (launch.errorCapture != nullptr) {
        launch.errorCapture->startReader();
    }
    if (!thread) {
        // Running the VM on this thread instead would give the application
        // another stack than the one it asked for.
        launch.reporter->reportFailure(windowsFailure(IDS_VM_THREAD_FAILED, error));
        return 1;
    }
    ::WaitForSingleObject(thread.get(), INFINITE);
    DWORD exitCode = 1;
    ::GetExitCodeThread(thread.get(), &exitCode);
    return static_cast<int>(exitCode);
}
