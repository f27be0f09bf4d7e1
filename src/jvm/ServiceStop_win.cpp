#include "jvm/ServiceStop_win.h"

#include "jvm/JniSupport_win.h"
#include "util/ScopeExit.h"

namespace {

// The calling thread's environment in `vm`, or null when it cannot attach.
JNIEnv* attach(JavaVM* vm)
{
    JNIEnv* env = nullptr;
    if (vm == nullptr || vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK) {
        return nullptr;
    }
    return env;
}

// The static method `name` of `type` with one of the stop method's
// signatures; `takesArguments` says which.
jmethodID findStopMethod(jclass type, const std::wstring& name, JNIEnv* env, bool& takesArguments)
{
    const std::string utf8Name = modifiedUtf8Of(name, env);
    if (utf8Name.empty()) {
        return nullptr;
    }
    takesArguments = false;
    jmethodID method = env->GetStaticMethodID(type, utf8Name.c_str(), "()V");
    if (method == nullptr) {
        env->ExceptionClear();
        takesArguments = true;
        method = env->GetStaticMethodID(type, utf8Name.c_str(), "([Ljava/lang/String;)V");
    }
    return method;
}

} // namespace

bool callStopMethod(JavaVM* vm, const std::wstring& slashClass, const std::wstring& method)
{
    JNIEnv* env = attach(vm);
    if (env == nullptr) {
        return true;
    }
    ScopeExit detach([vm] { vm->DetachCurrentThread(); });
    jclass type = findClassNamed(slashClass, env);
    bool takesArguments = false;
    jmethodID stop = type != nullptr ? findStopMethod(type, method, env, takesArguments) : nullptr;
    if (stop == nullptr) {
        describePendingException(env);
        return false;
    }
    if (takesArguments) {
        env->CallStaticVoidMethod(type, stop, newJavaStringArray({}, env));
    } else {
        env->CallStaticVoidMethod(type, stop);
    }
    describePendingException(env);
    return true;
}

namespace {

// Calls `method` ("exit" or "halt") of the VM's Runtime with `code`.
void callRuntime(JavaVM* vm, const char* method, int code)
{
    JNIEnv* env = attach(vm);
    if (env == nullptr) {
        return;
    }
    ScopeExit detach([vm] { vm->DetachCurrentThread(); });
    endThroughRuntime(method, code, env);
}

} // namespace

void callSystemExit(JavaVM* vm, int code)
{
    callRuntime(vm, "exit", code);
}

void callRuntimeHalt(JavaVM* vm, int code)
{
    callRuntime(vm, "halt", code);
}
