#include "instance/SingleInstance_win.h"

#include "config/SettingsReader.h"
#include "config/SettingsReader_win.h"
#include "instance/SharedBlock.h"
#include "jvm/JniSupport_win.h"
#include "util/ExclusiveLock_win.h"
#include "util/Path_win.h"
#include "util/PathText.h"
#include "util/ScopeExit.h"
#include "util/Security_win.h"

namespace {

const char kSecondaryMain[] = "secondaryMain";
const char kVoidSignature[] = "([Ljava/lang/String;)V";
const char kIntSignature[] = "([Ljava/lang/String;)I";

// How long a secondary waits for a primary that is still setting up to
// publish its listener.
constexpr DWORD kPublishWaitMillis = 10000;

// The listener's thread id at offset 0 is published last, as one aligned
// 32-bit store (the view starts on a page), so a secondary that sees it
// non-zero sees a complete block and a listener that has a message queue.
volatile LONG* listenerIdField(unsigned char* block)
{
    return reinterpret_cast<volatile LONG*>(block + kListenerThreadIdOffset);
}

// Whether `process` runs the executable this start runs, letter case aside.
// The block names only a process id: whoever created the block first, or a
// process that took over the id of an ended primary, may stand behind it.
// Both paths are read the same way, so that they compare in the same form.
bool runsThisExecutable(HANDLE process, const Trace& trace)
{
    const std::wstring theirs = imagePathOf(process);
    const std::wstring ours = imagePathOf(::GetCurrentProcess());
    if (!theirs.empty() && !ours.empty() &&
        ::CompareStringOrdinal(theirs.c_str(), -1, ours.c_str(), -1, TRUE) == CSTR_EQUAL) {
        return true;
    }
    trace.line({L"single instance: the primary's process runs ", theirs.empty() ? L"an unknown executable" : theirs,
                L", not this one: coordination off, the arguments stay here"});
    return false;
}

} // namespace

// What the primary's listener uses; owned by the coordination, or by nobody
// (kept until the process ends) when the listener is left inside the VM.
struct ListenerState {
    const VmState* vm = nullptr;       // read once, when the listener joins the VM
    std::wstring mainClass;            // slash form
    unsigned char* block = nullptr;
    UINT messageId = 0;
    UniqueHandle readyEvent;
    UniqueHandle stopEvent;            // set when the listener is to end
    // Guards the flags: the listener joins the VM and starts each call only
    // while the shutdown allows it, and the shutdown sees whether a call runs.
    SRWLOCK lock = SRWLOCK_INIT;
    bool mayJoinVm = true;
    bool vmGone = false;
    bool inCall = false;
};

namespace {

// Calls secondaryMain for one request and posts the answer. Local references
// are deleted: the listener never returns to Java, so they would pile up.
void handleRequest(JNIEnv* env, DWORD senderThreadId, const ListenerState& state)
{
    jclass mainType = findClassNamed(state.mainClass, env);
    if (mainType == nullptr) {
        describePendingException(env);
        return;
    }
    ScopeExit deleteClass([&] { env->DeleteLocalRef(mainType); });
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
            return;
        }
    }
    jobjectArray array = newJavaStringArray(unpackArguments(state.block), env);
    if (array == nullptr) {
        describePendingException(env);
        return;
    }
    if (intForm) {
        const jint result = env->CallStaticIntMethod(mainType, method, array);
        ::PostThreadMessageW(senderThreadId, state.messageId, static_cast<WPARAM>(static_cast<DWORD>(result)), 0);
    } else {
        ::PostThreadMessageW(senderThreadId, state.messageId, 0, 0);
        env->CallStaticVoidMethod(mainType, method, array);
    }
    describePendingException(env);
    env->DeleteLocalRef(array);
}

// Joins the VM as a daemon thread once main is about to run, unless the
// shutdown has begun; null when it does not join. Joining once, while the VM
// surely lives, means no thread ever attaches to a VM being destroyed; as a
// daemon the listener does not keep the VM's destruction waiting.
JNIEnv* joinVm(ListenerState& state)
{
    HANDLE events[] = {state.stopEvent.get(), state.readyEvent.get()};
    const DWORD count = state.readyEvent ? 2 : 1;
    if (::WaitForMultipleObjects(count, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
        return nullptr;
    }
    // Held while attaching, so the shutdown cannot begin destroying the VM
    // before this thread is attached or has given up.
    ExclusiveLock locked(state.lock);
    JavaVM* vm = state.mayJoinVm ? state.vm->javaVm : nullptr;
    JNIEnv* env = nullptr;
    if (vm == nullptr || vm->AttachCurrentThreadAsDaemon(reinterpret_cast<void**>(&env), nullptr) != JNI_OK) {
        return nullptr;
    }
    return env;
}

// The listener: owns a message queue before its id is published, joins the
// VM once it is ready, and handles requests one after another. It stays
// attached until the process ends: it stops only when the VM is gone.
DWORD WINAPI listenerMain(void* parameter)
{
    ListenerState& state = *static_cast<ListenerState*>(parameter);
    MSG message{};
    ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    ::InterlockedExchange(listenerIdField(state.block), static_cast<LONG>(::GetCurrentThreadId()));

    // Requests that arrive meanwhile wait in the queue.
    JNIEnv* env = joinVm(state);
    if (::WaitForSingleObject(state.stopEvent.get(), 0) == WAIT_OBJECT_0) {
        return 0;
    }
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != state.messageId || env == nullptr) {
            continue;
        }
        {
            ExclusiveLock locked(state.lock);
            if (state.vmGone) {
                continue;
            }
            state.inCall = true;
        }
        handleRequest(env, static_cast<DWORD>(message.wParam), state);
        ExclusiveLock locked(state.lock);
        state.inCall = false;
    }
    return 0;
}

} // namespace

InstanceCoordination::InstanceCoordination() = default;

InstanceCoordination::~InstanceCoordination()
{
    stop();
}

HANDLE InstanceCoordination::readyEvent() const
{
    return listener_ ? listener_->readyEvent.get() : nullptr;
}

// Coordination off: the block is released too, so that it does not announce
// a primary that nobody listens for.
void InstanceCoordination::turnOff()
{
    active_ = false;
    isPrimary_ = false;
    listener_.reset();
    if (block_ != nullptr) {
        ::UnmapViewOfFile(block_);
        block_ = nullptr;
    }
    mapping_.reset();
}

bool InstanceCoordination::setupPrimary(const std::wstring& name, SECURITY_ATTRIBUTES* security,
                                        const LauncherSettings& settings, const VmState& vm)
{
    listener_ = std::make_unique<ListenerState>();
    ListenerState& state = *listener_;
    state.vm = &vm;
    state.mainClass = settings.mainClass;
    state.block = block_;
    // Without the ready event nothing tells when the VM may be used: requests
    // are then not handled, and their secondaries wait for this process's end.
    state.readyEvent.reset(::CreateEventW(security, TRUE, FALSE, (name + L"_upr_evt").c_str()));
    state.stopEvent.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    state.messageId = ::RegisterWindowMessageW(name.c_str());
    if (state.messageId == 0 || !state.stopEvent) {
        turnOff();
        return true;
    }
    writeBlockUint32(block_, kRequestMessageIdOffset, state.messageId);
    writeBlockUint32(block_, kPrimaryProcessIdOffset, ::GetCurrentProcessId());
    listenerThread_.reset(::CreateThread(nullptr, 0, listenerMain, &state, 0, nullptr));
    if (!listenerThread_) {
        turnOff();
    }
    return true;
}

bool InstanceCoordination::setupSecondary(const std::vector<std::wstring>& arguments, const std::wstring& name,
                                          SECURITY_ATTRIBUTES* security, const Trace& trace)
{
    std::vector<unsigned char> probe(kSharedBlockSize);
    if (!packArguments(arguments, probe.data())) {
        return false;
    }
    // A primary that started a moment ago may still be setting up.
    DWORD listenerId = 0;
    for (DWORD waited = 0; (listenerId = static_cast<DWORD>(*listenerIdField(block_))) == 0; waited += 10) {
        if (waited >= kPublishWaitMillis) {
            return false;
        }
        ::Sleep(10);
    }
    ::MemoryBarrier();
    // Enough access to wait for it and read its exit code, also when it runs
    // elevated.
    primaryProcess_.reset(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                        readBlockUint32(block_, kPrimaryProcessIdOffset)));
    if (!primaryProcess_) {
        return false;
    }
    if (!runsThisExecutable(primaryProcess_.get(), trace)) {
        primaryProcess_.reset();
        turnOff();
        return true;
    }
    // Two secondaries share the one argument area: each holds this mutex from
    // writing its arguments until its answer arrives or its wait ends. A turn
    // that never comes (an earlier request is never answered) ends with the
    // primary.
    requestMutex_.reset(::CreateMutexW(security, FALSE, (name + L"_req_mtx").c_str()));
    if (requestMutex_) {
        HANDLE waitFor[] = {primaryProcess_.get(), requestMutex_.get()};
        const DWORD waited = ::WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
        if (waited == WAIT_OBJECT_0) {
            primaryEnded_ = true;
            return true;
        }
        ownsRequestMutex_ = waited == WAIT_OBJECT_0 + 1 || waited == WAIT_ABANDONED_0 + 1;
    }
    packArguments(arguments, block_);
    const BOOL posted = ::PostThreadMessageW(listenerId, readBlockUint32(block_, kRequestMessageIdOffset),
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
                                 const ConfigStore& config, const VmState& vm, const std::wstring& executablePath,
                                 const Trace& trace)
{
    active_ = readSingleInstance(config);
    if (!active_) {
        return true;
    }
    const std::wstring name = sharedObjectName(executablePath);
    CurrentUserOnlySecurity security;
    if (security.attributes() == nullptr) {
        trace.line({L"single instance: the shared objects get default security (no descriptor for this user alone)"});
    }
    ::SetLastError(0);
    mapping_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, security.attributes(), PAGE_READWRITE, 0,
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
    return isPrimary_ ? setupPrimary(name, security.attributes(), settings, vm)
                      : setupSecondary(arguments, name, security.attributes(), trace);
}

int InstanceCoordination::waitForPrimaryAnswer()
{
    ScopeExit release([&] { releaseRequestMutex(); });
    const UINT messageId = readBlockUint32(block_, kRequestMessageIdOffset);
    HANDLE primary = primaryProcess_.get();
    for (bool ended = primaryEnded_;;) {
        // Drained before each wait, so that the wait wakes for every new post;
        // an answer posted just before the primary ended still counts.
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == messageId) {
                return static_cast<int>(static_cast<DWORD>(message.wParam));
            }
        }
        if (ended) {
            DWORD exitCode = 0;
            return ::GetExitCodeProcess(primary, &exitCode) ? static_cast<int>(exitCode) : -1;
        }
        const DWORD woke = ::MsgWaitForMultipleObjects(1, &primary, FALSE, INFINITE, QS_POSTMESSAGE);
        if (woke == WAIT_FAILED) {
            return -1;
        }
        ended = woke == WAIT_OBJECT_0;
    }
}

void InstanceCoordination::stopJoiningVm()
{
    if (listener_) {
        ExclusiveLock locked(listener_->lock);
        listener_->mayJoinVm = false;
    }
}

void InstanceCoordination::stop()
{
    if (listener_ && listenerThread_) {
        ListenerState& state = *listener_;
        bool inCall = false;
        {
            ExclusiveLock locked(state.lock);
            state.mayJoinVm = false;
            state.vmGone = true;
            inCall = state.inCall;
        }
        if (inCall) {
            // A call the VM's end holds may never return: the listener keeps
            // its state and the block until the process ends.
            listener_.release();
            listenerThread_.reset();
            block_ = nullptr;
            mapping_.release();
        } else {
            // The event ends a listener still waiting for the VM; WM_QUIT one
            // in its message loop (posted again, as a post before its queue
            // exists is lost).
            ::SetEvent(state.stopEvent.get());
            const DWORD listenerId = ::GetThreadId(listenerThread_.get());
            do {
                ::PostThreadMessageW(listenerId, WM_QUIT, 0, 0);
            } while (::WaitForSingleObject(listenerThread_.get(), 50) == WAIT_TIMEOUT);
            listenerThread_.reset();
        }
    }
    releaseRequestMutex();
    if (block_ != nullptr) {
        ::UnmapViewOfFile(block_);
        block_ = nullptr;
    }
    mapping_.reset();
    listener_.reset();
}
