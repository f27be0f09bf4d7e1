#include "instance/SingleInstance_win.h"

#include <windows.h>

#include <memory>
#include <string>

#include "app/Launcher.h"
#include "config/SettingsReader.h"
#include "config/SettingsReader_win.h"
#include "instance/SharedBlock.h"
#include "jvm/MainClass_win.h"
#include "util/Path_win.h"
#include "util/ScopeExit.h"
#include "util/TextConversion_win.h"

namespace {

const char kSecondaryMain[] = "secondaryMain";
const char kVoidSignature[] = "([Ljava/lang/String;)V";
const char kIntSignature[] = "([Ljava/lang/String;)I";

// One request handed from the listener to its worker, owned by the worker.
struct Request {
    DWORD senderThreadId = 0;
    Launcher* launcher = nullptr;
};

// Calls secondaryMain for one request once main is about to run. Returns
// true on success; the answer has been posted when the method was called.
bool handleRequest(const Request& request)
{
    Launcher& launcher = *request.launcher;
    // Without the ready event nothing tells when the VM may be used, so the
    // request is not handled (its secondary waits for the primary's end).
    if (!launcher.readyEvent || ::WaitForSingleObject(launcher.readyEvent.get(), INFINITE) != WAIT_OBJECT_0) {
        return false;
    }
    JavaVM* vm = launcher.javaVm;
    if (vm == nullptr) {
        return false;
    }
    JNIEnv* env = nullptr;
    if (vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK || env == nullptr) {
        return false;
    }
    ScopeExit detach([&] {
        // A thread that ran Java code on an IBM runtime stays attached.
        if (!launcher.ibmRuntimeAdmitted()) {
            vm->DetachCurrentThread();
        }
    });

    jclass mainType = env->FindClass(toThreadAnsi(launcher.settings.mainClass).c_str());
    if (mainType == nullptr) {
        describePendingException(env);
        return false;
    }
    bool intForm = false;
    jmethodID method = env->GetStaticMethodID(mainType, kSecondaryMain, kVoidSignature);
    if (env->ExceptionOccurred() != nullptr) {
        env->ExceptionClear();
    }
    if (method == nullptr) {
        intForm = true;
        method = env->GetStaticMethodID(mainType, kSecondaryMain, kIntSignature);
        if (method == nullptr) {
            describePendingException(env);
            return false;
        }
    }

    const std::vector<std::wstring> list = unpackArguments(launcher.sharedBlock);
    jobjectArray array = newJavaStringArray(list, env);
    if (array == nullptr) {
        describePendingException(env);
        return false;
    }
    const UINT messageId = readBlockUint32(launcher.sharedBlock, kRequestMessageIdOffset);
    if (intForm) {
        const jint result = env->CallStaticIntMethod(mainType, method, array);
        ::PostThreadMessageW(request.senderThreadId, messageId, static_cast<WPARAM>(static_cast<DWORD>(result)), 0);
    } else {
        ::PostThreadMessageW(request.senderThreadId, messageId, 0, 0);
        env->CallStaticVoidMethod(mainType, method, array);
    }
    if (env->ExceptionOccurred() != nullptr) {
        env->ExceptionDescribe();
        return false;
    }
    return true;
}

DWORD WINAPI workerMain(void* parameter)
{
    const std::unique_ptr<Request> request(static_cast<Request*>(parameter));
    return handleRequest(*request) ? 0 : 1;
}

DWORD WINAPI listenerMain(void* parameter)
{
    Launcher& launcher = *static_cast<Launcher*>(parameter);
    const UINT messageId = readBlockUint32(launcher.sharedBlock, kRequestMessageIdOffset);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != messageId) {
            continue;
        }
        auto request = std::make_unique<Request>();
        request->senderThreadId = static_cast<DWORD>(message.wParam);
        request->launcher = &launcher;
        HANDLE worker = ::CreateThread(nullptr, 0, workerMain, request.get(), 0, nullptr);
        if (worker != nullptr) {
            request.release();  // the worker owns it now
            ::CloseHandle(worker);  // nobody waits for a worker
        }
    }
    return 0;
}

// Coordination off: the block is released too, so that it does not announce
// a primary that nobody listens for.
void turnOff(Launcher& launcher)
{
    launcher.settings.singleInstance = false;
    launcher.isPrimaryInstance = false;
    if (launcher.sharedBlock != nullptr) {
        ::UnmapViewOfFile(launcher.sharedBlock);
        launcher.sharedBlock = nullptr;
    }
    launcher.sharedMapping.reset();
}

bool setupPrimary(Launcher& launcher, const std::wstring& name)
{
    launcher.readyEvent.reset(::CreateEventW(nullptr, TRUE, FALSE, (name + L"_upr_evt").c_str()));
    const UINT messageId = ::RegisterWindowMessageW(name.c_str());
    if (messageId == 0) {
        turnOff(launcher);
        return true;
    }
    writeBlockUint32(launcher.sharedBlock, kRequestMessageIdOffset, messageId);
    writeBlockUint32(launcher.sharedBlock, kPrimaryProcessIdOffset, ::GetCurrentProcessId());
    // Thread creation stores the listener's id straight into the block.
    launcher.listenerThread = ::CreateThread(nullptr, 0, listenerMain, &launcher, 0,
                                             reinterpret_cast<DWORD*>(launcher.sharedBlock + kListenerThreadIdOffset));
    if (launcher.listenerThread == nullptr) {
        turnOff(launcher);
    }
    return true;
}

bool setupSecondary(Launcher& launcher, const std::wstring& name)
{
    std::vector<unsigned char> probe(kSharedBlockSize);
    if (!packArguments(launcher.arguments, probe.data())) {
        return false;
    }
    // Two secondaries share the one argument area: each holds this mutex from
    // writing its arguments until its answer arrives or its wait ends.
    launcher.requestMutex.reset(::CreateMutexW(nullptr, FALSE, (name + L"_req_mtx").c_str()));
    if (launcher.requestMutex) {
        const DWORD waited = ::WaitForSingleObject(launcher.requestMutex.get(), INFINITE);
        launcher.ownsRequestMutex = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    packArguments(launcher.arguments, launcher.sharedBlock);
    const BOOL posted = ::PostThreadMessageW(readBlockUint32(launcher.sharedBlock, kListenerThreadIdOffset),
                                             readBlockUint32(launcher.sharedBlock, kRequestMessageIdOffset),
                                             ::GetCurrentThreadId(), 0);
    return posted != FALSE;
}

void releaseRequestMutex(Launcher& launcher)
{
    if (launcher.ownsRequestMutex) {
        ::ReleaseMutex(launcher.requestMutex.get());
        launcher.ownsRequestMutex = false;
    }
}

} // namespace

bool setupInstanceCoordination(Launcher& launcher)
{
    const std::unique_ptr<LayeredIniFile> layered = openLayeredConfig(launcher.splashWindowHandle);
    if (!layered) {
        return false;
    }
    launcher.settings.singleInstance = readSingleInstance(*layered);
    if (!launcher.settings.singleInstance) {
        return true;
    }
    std::wstring path;
    if (!executablePath(launcher.splashWindowHandle, path)) {
        turnOff(launcher);
        return true;
    }
    const std::wstring name = sharedObjectName(path);
    ::SetLastError(0);
    launcher.sharedMapping.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                      static_cast<DWORD>(kSharedBlockSize), name.c_str()));
    const DWORD creationError = ::GetLastError();
    if (!launcher.sharedMapping) {
        turnOff(launcher);
        return true;
    }
    launcher.isPrimaryInstance = creationError == 0;
    launcher.sharedBlock = static_cast<unsigned char*>(
        ::MapViewOfFile(launcher.sharedMapping.get(), FILE_MAP_WRITE, 0, 0, kSharedBlockSize));
    if (launcher.sharedBlock == nullptr) {
        turnOff(launcher);
        return true;
    }
    return launcher.isPrimaryInstance ? setupPrimary(launcher, name) : setupSecondary(launcher, name);
}

int waitForPrimaryInstanceAnswer(Launcher& launcher)
{
    ScopeExit release([&] { releaseRequestMutex(launcher); });
    // Kept open until the process ends, like the other watched processes.
    launcher.primaryProcess = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE,
                                            readBlockUint32(launcher.sharedBlock, kPrimaryProcessIdOffset));
    if (launcher.primaryProcess == nullptr) {
        return 0;
    }
    const UINT messageId = readBlockUint32(launcher.sharedBlock, kRequestMessageIdOffset);
    for (;;) {
        MSG message{};
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message == messageId) {
            return static_cast<int>(static_cast<DWORD>(message.wParam));
        }
        DWORD exitCode = 0;
        if (!::GetExitCodeProcess(launcher.primaryProcess, &exitCode)) {
            return -1;
        }
        if (exitCode != STILL_ACTIVE) {
            return static_cast<int>(exitCode);
        }
        ::Sleep(100);
    }
}

void stopInstanceCoordination(Launcher& launcher)
{
    if (launcher.isPrimaryInstance && launcher.listenerThread != nullptr) {
        // Posted again and again because the listener may not have a queue yet.
        const DWORD listenerId = readBlockUint32(launcher.sharedBlock, kListenerThreadIdOffset);
        DWORD exitCode = STILL_ACTIVE;
        do {
            ::PostThreadMessageW(listenerId, WM_QUIT, 0, 0);
            if (!::GetExitCodeThread(launcher.listenerThread, &exitCode)) {
                break;
            }
        } while (exitCode == STILL_ACTIVE);
        // The listener's handle stays open until the process ends.
    }
    releaseRequestMutex(launcher);
    if (launcher.sharedBlock != nullptr) {
        ::UnmapViewOfFile(launcher.sharedBlock);
        launcher.sharedBlock = nullptr;
    }
    launcher.sharedMapping.reset();
}
