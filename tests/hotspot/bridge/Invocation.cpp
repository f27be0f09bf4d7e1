// The JavaVM side of the bridge: wrappers of the real JavaVM and JNIEnv
// pointers, thread attachment, and DestroyJavaVM.
#include "Bridge.h"

#include <windows.h>

#include <mutex>
#include <unordered_map>

namespace hsbridge {
namespace {

std::mutex wrappersMutex;
std::unordered_map<JNIEnv*, WinEnv*> envWrappers;
WinVM vmWrapper{kVmFunctions, nullptr};

bool isJniVersion(jint version) {
    // JVMTI and other interfaces have their own version numbers and tables
    // that the bridge does not translate.
    return (version & 0x30000000) == 0;
}

struct DestroyRequest {
    JavaVM* vm;
    jint result;
};

DWORD WINAPI destroyOnOwnThread(void* data) {
    auto* request = static_cast<DestroyRequest*>(data);
    request->result = request->vm->DestroyJavaVM();
    return 0;
}

}  // namespace

WinEnv* wrapEnv(JNIEnv* real) {
    if (real == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(wrappersMutex);
    WinEnv*& wrapper = envWrappers[real];
    if (wrapper == nullptr) wrapper = new WinEnv{kEnvFunctions, real};
    return wrapper;
}

WinVM* wrapVm(JavaVM* real) {
    if (real == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(wrappersMutex);
    vmWrapper.real = real;
    return &vmWrapper;
}

// The exception goes to standard error; a Windows VM has written it there
// when the call returns, so the bridge lets its copy arrive before returning.
MSABI void custom_ExceptionDescribe(WinEnv* env) {
    env->real->ExceptionDescribe();
    drainStandardStreams();
}

MSABI jint custom_GetJavaVM(WinEnv* env, JavaVM** vm) {
    JavaVM* real = nullptr;
    const jint result = env->real->GetJavaVM(&real);
    if (vm != nullptr) *vm = reinterpret_cast<JavaVM*>(result == JNI_OK ? wrapVm(real) : nullptr);
    return result;
}

MSABI jint custom_AttachCurrentThread(WinVM* vm, void** penv, void* args) {
    JNIEnv* real = nullptr;
    const jint result = vm->real->AttachCurrentThread(reinterpret_cast<void**>(&real), args);
    if (penv != nullptr) *penv = wrapEnv(real);
    return result;
}

MSABI jint custom_AttachCurrentThreadAsDaemon(WinVM* vm, void** penv, void* args) {
    JNIEnv* real = nullptr;
    const jint result = vm->real->AttachCurrentThreadAsDaemon(reinterpret_cast<void**>(&real), args);
    if (penv != nullptr) *penv = wrapEnv(real);
    return result;
}

MSABI jint custom_GetEnv(WinVM* vm, void** penv, jint version) {
    if (!isJniVersion(version)) {
        if (penv != nullptr) *penv = nullptr;
        return JNI_EVERSION;
    }
    JNIEnv* real = nullptr;
    const jint result = vm->real->GetEnv(reinterpret_cast<void**>(&real), version);
    if (penv != nullptr) *penv = result == JNI_OK ? wrapEnv(real) : nullptr;
    return result;
}

// HotSpot cannot destroy the VM on Wine's initial thread (it takes that
// thread's stack for the Unix primordial one and fails at once), so the
// bridge always destroys it on a thread of its own and waits. The calling
// thread is detached first; otherwise the destroying thread would wait for
// it, and it waits for the destroying thread. JNI lets any thread destroy the
// VM, so the caller sees the same behaviour.
MSABI jint custom_DestroyJavaVM(WinVM* vm) {
    JNIEnv* current = nullptr;
    if (vm->real->GetEnv(reinterpret_cast<void**>(&current), JNI_VERSION_1_2) == JNI_OK) {
        vm->real->DetachCurrentThread();
    }
    DestroyRequest request{vm->real, JNI_ERR};
    HANDLE thread = CreateThread(nullptr, 0, destroyOnOwnThread, &request, 0, nullptr);
    if (thread == nullptr) return JNI_ERR;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    if (request.result == JNI_OK) flushStandardStreams();
    return request.result;
}

}  // namespace hsbridge
