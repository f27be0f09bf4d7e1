#include "instance/SingleInstance_win.h"

#include <memory>

#include "config/SettingsReader.h"
#include "config/SettingsReader_win.h"
#include "instance/SharedBlock.h"
#include "jvm/MainClass_win.h"
#include "ui/ErrorReporting_win.h"
#include "util/ScopeExit.h"
#include "util/TextConversion_win.h"

namespace {

const char kSecondaryMain[] = "secondaryMain";
const char kVoidSignature[] = "([Ljava/lang/String;)V";
const char kIntSignature[] = "([Ljava/lang/String;)I";

// One request handed from the listener to its worker, owned by the worker.
struct Request {
    DWORD senderThreadId = 0;
    const InstanceWorkerContext* context = nullptr;
};

// Calls secondaryMain for one request once main is about to run. Returns
// true on success; the answer has been posted when the method was called.
bool handleRequest(DWORD senderThreadId, const InstanceWorkerContext& context)
{
    // Without the ready event nothing tells when the VM may be used, so the
    // request is not handled (its secondary waits for the primary's end).
    if (context.readyEvent == nullptr || ::WaitForSingleObject(context.readyEvent, INFINITE) != WAIT_OBJECT_0) {
        return false;
    }
    JavaVM* vm = context.vm->javaVm;
    if (vm == nullptr) {
        return false;
    }
    JNIEnv* env = nullptr;
    if (vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK || env == nullptr) {
        return false;
    }
    ScopeExit detach([&] {
        // A thread that ran Java code on an IBM runtime stays attached.
        if (!context.stayAttached) {
            vm->DetachCurrentThread();
        }
    });

    jclass mainType = env->FindClass(toThreadAnsi(context.mainClass).c_str());
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

    const std::vector<std::wstring> list = unpackArguments(context.block);
    jobjectArray array = newJavaStringArray(list, env);
    if (array == nullptr) {
        describePendingException(env);
        return false;
    }
    const UINT messageId = readBlockUint32(context.block, kRequestMessageIdOffset);
    if (intForm) {
        const jint result = env->CallStaticIntMethod(mainType, method, array);
        ::PostThreadMessageW(senderThreadId, messageId, static_cast<WPARAM>(static_cast<DWORD>(result)), 0);
    } else {
        ::PostThreadMessageW(senderThreadId, messageId, 0, 0);
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
    return handleRequest(request->senderThreadId, *request->context) ? 0 : 1;
}

DWORD WINAPI listenerMain(void* parameter)
{
    const InstanceWorkerContext& context = *static_cast<const InstanceWorkerContext*>(parameter);
    const UINT messageId = readBlockUint32(context.block, kRequestMessageIdOffset);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != messageId) {
            continue;
        }
        auto request = std::make_unique<Request>();
        request->senderThreadId = static_cast<DWORD>(message.wParam);
        request->context = &context;
        HANDLE worker = ::CreateThread(nullptr, 0, workerMain, request.get(), 0, nullptr);
        if (worker != nullptr) {
            request.release();  // the worker owns it now
            ::CloseHandle(worker);  // nobody waits for a worker
        }
    }
    return 0;
}

} // namespace

InstanceCoordination::~InstanceCoordination()
{
    stop();
}

// Coordination off: the block is released too, so that it does not announce
// a primary that nobody listens for.
void InstanceCoordination::turnOff()
{
    active_ = false;
    isPrimary_ = false;
    if (block_ != nullptr) {
        ::UnmapViewOfFile(block_);
        block_ = nullptr;
    }
    mapping_.reset();
}

bool InstanceCoordination::setupPrimary(const std::wstring& name)
{
    readyEvent_.reset(::CreateEventW(nullptr, TRUE, FALSE, (name + L"_upr_evt").c_str()));
    const UINT messageId = ::RegisterWindowMessageW(name.c_str());
    if (messageId == 0) {
        turnOff();
        return true;
    }
    writeBlockUint32(block_, kRequestMessageIdOffset, messageId);
    writeBlockUint32(block_, kPrimaryProcessIdOffset, ::GetCurrentProcessId());
    context_.readyEvent = readyEvent_.get();
    context_.block = block_;
    // Thread creation stores the listener's id straight into the block.
    listenerThread_ = ::CreateThread(nullptr, 0, listenerMain, &context_, 0,
                                     reinterpret_cast<DWORD*>(block_ + kListenerThreadIdOffset));
    if (listenerThread_ == nullptr) {
        turnOff();
    }
    return true;
}

bool InstanceCoordination::setupSecondary(const std::vector<std::wstring>& arguments, const std::wstring& name)
{
    std::vector<unsigned char> probe(kSharedBlockSize);
    if (!packArguments(arguments, probe.data())) {
        return false;
    }
    // Two secondaries share the one argument area: each holds this mutex from
    // writing its arguments until its answer arrives or its wait ends.
    requestMutex_.reset(::CreateMutexW(nullptr, FALSE, (name + L"_req_mtx").c_str()));
    if (requestMutex_) {
        const DWORD waited = ::WaitForSingleObject(requestMutex_.get(), INFINITE);
        ownsRequestMutex_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    packArguments(arguments, block_);
    const BOOL posted = ::PostThreadMessageW(readBlockUint32(block_, kListenerThreadIdOffset),
                                             readBlockUint32(block_, kRequestMessageIdOffset),
                                             ::GetCurrentThreadId(), 0);
    return posted != FALSE;
}

void InstanceCoordination::releaseRequestMutex()
{
    if (ownsRequestMutex_) {
        ::ReleaseMutex(requestMutex_.get());
        ownsRequestMutex_ = false;
    }
}

bool InstanceCoordination::setup(const std::vector<std::wstring>& arguments, const LauncherSettings& settings,
                                 const VmState& vm, HWND owner)
{
    const std::unique_ptr<LayeredIniFile> layered = openLayeredConfig(owner);
    if (!layered) {
        return false;
    }
    active_ = readSingleInstance(*layered);
    if (!active_) {
        return true;
    }
    context_.vm = &vm;
    context_.mainClass = settings.mainClass;
    context_.stayAttached = ibmRuntimeAdmitted(settings);
    std::wstring path;
    if (!executablePath(owner, path)) {
        turnOff();
        return true;
    }
    const std::wstring name = sharedObjectName(path);
    ::SetLastError(0);
    mapping_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(kSharedBlockSize), name.c_str()));
    const DWORD creationError = ::GetLastError();
    if (!mapping_) {
        turnOff();
        return true;
    }
    isPrimary_ = creationError == 0;
    block_ = static_cast<unsigned char*>(::MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, kSharedBlockSize));
    if (block_ == nullptr) {
        turnOff();
        return true;
    }
    return isPrimary_ ? setupPrimary(name) : setupSecondary(arguments, name);
}

int InstanceCoordination::waitForPrimaryAnswer()
{
    ScopeExit release([&] { releaseRequestMutex(); });
    // Kept open until the process ends, like the other watched processes.
    primaryProcess_ = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, readBlockUint32(block_, kPrimaryProcessIdOffset));
    if (primaryProcess_ == nullptr) {
        return 0;
    }
    const UINT messageId = readBlockUint32(block_, kRequestMessageIdOffset);
    for (;;) {
        MSG message{};
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message == messageId) {
            return static_cast<int>(static_cast<DWORD>(message.wParam));
        }
        DWORD exitCode = 0;
        if (!::GetExitCodeProcess(primaryProcess_, &exitCode)) {
            return -1;
        }
        if (exitCode != STILL_ACTIVE) {
            return static_cast<int>(exitCode);
        }
        ::Sleep(100);
    }
}

void InstanceCoordination::stop()
{
    if (isPrimary_ && listenerThread_ != nullptr && block_ != nullptr) {
        // Posted again and again because the listener may not have a queue yet.
        const DWORD listenerId = readBlockUint32(block_, kListenerThreadIdOffset);
        DWORD exitCode = STILL_ACTIVE;
        do {
            ::PostThreadMessageW(listenerId, WM_QUIT, 0, 0);
            if (!::GetExitCodeThread(listenerThread_, &exitCode)) {
                break;
            }
        } while (exitCode == STILL_ACTIVE);
        // The listener's handle stays open until the process ends.
        listenerThread_ = nullptr;
    }
    releaseRequestMutex();
    if (block_ != nullptr) {
        ::UnmapViewOfFile(block_);
        block_ = nullptr;
    }
    mapping_.reset();
    readyEvent_.reset();
}
