#include "jvm/MainClass_win.h"

#include "jvm/ErrorCapture_win.h"
#include "jvm/ExceptionTrace_win.h"
#include "jvm/JniSupport_win.h"
#include "jvm/StartFailure_win.h"
#include "util/MessageIds.h"

namespace {

const char kLauncherHelper[] = "sun/launcher/LauncherHelper";
const char kCheckAndLoadMain[] = "checkAndLoadMain";
const char kCheckAndLoadMainSignature[] = "(ZILjava/lang/String;)Ljava/lang/Class;";
const char kMainSignature[] = "([Ljava/lang/String;)V";

// A failed lookup may leave an exception pending (NoSuchMethodError from an
// older runtime's helper); the VM refuses most calls until it is cleared, so
// the fallback after it would fail too.
void clearPendingException(JNIEnv* env)
{
    if (env->ExceptionOccurred() != nullptr) {
        env->ExceptionClear();
    }
}

// The main class through the runtime's own launcher helper; null, with no
// exception pending, when the runtime has none or it cannot load the class
// (it has then printed why).
jclass loadThroughLauncherHelper(const VmLaunch& launch, JNIEnv* env)
{
    if (launch.entryPoints.findClassFromBootLoader == nullptr) {
        return nullptr;
    }
    jclass helper = launch.entryPoints.findClassFromBootLoader(env, kLauncherHelper);
    if (helper == nullptr) {
        clearPendingException(env);
        return nullptr;
    }
    jmethodID checkAndLoadMain = env->GetStaticMethodID(helper, kCheckAndLoadMain, kCheckAndLoadMainSignature);
    if (checkAndLoadMain == nullptr) {
        clearPendingException(env);
        return nullptr;
    }
    jstring name = newJavaString(dottedClassName(launch.mainClass), env);
    if (name == nullptr) {
        clearPendingException(env);
        return nullptr;
    }
    // true: the runtime prints its own errors; 1: load by class name.
    jobject loaded = env->CallStaticObjectMethod(helper, checkAndLoadMain, JNI_TRUE, static_cast<jint>(1), name);
    if (loaded == nullptr) {
        describePendingException(env);
    }
    return static_cast<jclass>(loaded);
}

// The main class through the VM's own lookup, with the name in slash form; on
// failure, why the start ends (a failure without a message of its own when
// the runtime has said why).
Expected<jclass> loadThroughFindClass(const VmLaunch& launch, JNIEnv* env)
{
    const std::wstring& mainClass = launch.mainClass;
    jstring name = newJavaString(mainClass, env);
    if (name == nullptr) {
        return failureOf(IDS_MAIN_CLASS_LOAD_FAILED, {mainClass});
    }
    const char* utf8Name = env->GetStringUTFChars(name, nullptr);
    if (utf8Name == nullptr) {
        env->ExceptionDescribe();
        return Failure{};
    }
    jclass mainType = env->FindClass(utf8Name);
    env->ReleaseStringUTFChars(name, utf8Name);
    if (mainType == nullptr) {
        env->ExceptionDescribe();
        return failureOf(IDS_MAIN_CLASS_NOT_FOUND, {mainClass});
    }
    launch.trace.line({L"main class ", mainClass, L" loaded by FindClass"});
    return mainType;
}

// Decides about an exception that escaped main: the reporter asks the user
// when "Failure Check" wants it; Stop ends the application.
void handleMainException(const VmLaunch& launch, VmState& vm, JNIEnv* env, jthrowable thrown)
{
    const ExceptionChoice choice = launch.reporter->askAfterException(
        launch.failureCheck ? std::optional<std::wstring>(describeException(env, thrown)) : std::nullopt);
    // Without a decision the process reports the failure once the VM is gone
    // (the VM prints the exception itself when this thread detaches).
    vm.uncaughtException = choice == ExceptionChoice::NoDialog;
    if (choice == ExceptionChoice::Stop) {
        endThroughRuntime("exit", -1, env);
    }
}

// A start that fails before main says why, with what the runtime wrote, and
// lets go of the VM thread: a thread that ends still attached would keep the
// VM's destruction at shutdown waiting for ever.
bool failBeforeMain(const VmLaunch& launch, const VmState& vm, const Failure& designed)
{
    reportStartFailure(launch, vm, designed);
    vm.javaVm->DetachCurrentThread();
    return false;
}

} // namespace

bool invokeMainClass(const VmLaunch& launch, VmState& vm)
{
    JNIEnv* env = vm.jniEnv;
    jclass mainType = loadThroughLauncherHelper(launch, env);
    if (mainType != nullptr) {
        launch.trace.line({L"main class ", launch.mainClass, L" loaded by the runtime's launcher helper"});
    } else {
        const Expected<jclass> found = loadThroughFindClass(launch, env);
        if (!found) {
            return failBeforeMain(launch, vm, found.failure());
        }
        mainType = *found;
    }

    jmethodID mainMethod = env->GetStaticMethodID(mainType, "main", kMainSignature);
    if (mainMethod == nullptr) {
        return failBeforeMain(launch, vm,
                              describePendingException(env) ? Failure{} : failureOf(IDS_NO_MAIN_METHOD));
    }

    jobjectArray mainArguments = newJavaStringArray(launch.arguments, env);
    if (mainArguments == nullptr) {
        env->ExceptionDescribe();
        return failBeforeMain(launch, vm, Failure{});
    }

    // From here on standard error is the application's own again.
    vm.mainBegan = true;
    if (launch.errorCapture != nullptr) {
        launch.errorCapture->stopKeeping();
    }
    launch.trace.line({L"main begins"});
    if (launch.readyEvent != nullptr) {
        ::SetEvent(launch.readyEvent);
    }
    launch.reporter->reportMainBegins(vm.javaVm);
    env->CallStaticVoidMethod(mainType, mainMethod, mainArguments);

    jthrowable thrown = env->ExceptionOccurred();
    launch.trace.line({thrown != nullptr ? L"main ended with an exception" : L"main returned"});
    if (thrown != nullptr) {
        handleMainException(launch, vm, env, thrown);
    }

    if (launch.stayAttached) {
        // Such runtimes must never see this thread detach.
        for (;;) {
            ::Sleep(INFINITE);
        }
    }
    return vm.javaVm->DetachCurrentThread() == JNI_OK;
}
