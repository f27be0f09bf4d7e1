#include "jvm/MainClass_win.h"

#include <algorithm>
#include <climits>

#include "jvm/ErrorCapture_win.h"
#include "jvm/ExceptionTrace_win.h"
#include "jvm/StartFailure_win.h"
#include "ui/ErrorReporting_win.h"
#include "ui/ExceptionDialog_win.h"

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

} // namespace

bool describePendingException(JNIEnv* env)
{
    if (env->ExceptionOccurred() == nullptr) {
        return false;
    }
    env->ExceptionDescribe();
    return true;
}

jobject newPrintStream(jobject output, JNIEnv* env)
{
    jclass printStreamClass = env->FindClass("java/io/PrintStream");
    jmethodID printStreamInit =
        printStreamClass != nullptr ? env->GetMethodID(printStreamClass, "<init>", "(Ljava/io/OutputStream;)V") : nullptr;
    return printStreamInit != nullptr ? env->NewObject(printStreamClass, printStreamInit, output) : nullptr;
}

jstring newJavaString(const std::wstring& text, JNIEnv* env)
{
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        return nullptr;
    }
    jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr) {
        return nullptr;
    }
    jmethodID constructor = env->GetMethodID(stringClass, "<init>", "([C)V");
    if (constructor == nullptr) {
        return nullptr;
    }
    const jsize length = static_cast<jsize>(text.size());
    jcharArray characters = env->NewCharArray(length);
    if (characters == nullptr) {
        return nullptr;
    }
    static_assert(sizeof(wchar_t) == sizeof(jchar), "Windows wide characters are UTF-16 units");
    env->SetCharArrayRegion(characters, 0, length, reinterpret_cast<const jchar*>(text.data()));
    jstring result = nullptr;
    if (env->ExceptionOccurred() == nullptr) {
        result = static_cast<jstring>(env->NewObject(stringClass, constructor, characters));
    }
    env->DeleteLocalRef(characters);
    return result;
}

jobjectArray newJavaStringArray(const std::vector<std::wstring>& texts, JNIEnv* env)
{
    if (texts.size() > static_cast<std::size_t>(INT_MAX)) {
        return nullptr;
    }
    jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr) {
        return nullptr;
    }
    jobjectArray array = env->NewObjectArray(static_cast<jsize>(texts.size()), stringClass, nullptr);
    if (array == nullptr) {
        return nullptr;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        jstring text = newJavaString(texts[i], env);
        if (text == nullptr) {
            return nullptr;
        }
        env->SetObjectArrayElement(array, static_cast<jsize>(i), text);
        env->DeleteLocalRef(text);
    }
    return array;
}

namespace {

// A start that fails before main lets go of the VM thread: a thread that ends
// still attached would keep the VM's destruction at shutdown waiting for ever.
bool failAndDetach(const VmState& vm)
{
    vm.javaVm->DetachCurrentThread();
    return false;
}

} // namespace

std::wstring dottedClassName(std::wstring name)
{
    std::replace(name.begin(), name.end(), L'/', L'.');
    return name;
}

bool invokeMainClass(const VmLaunch& launch, VmState& vm)
{
    JNIEnv* env = vm.jniEnv;
    const std::wstring& mainClass = launch.mainClass;
    // Each failure before main says why, with what the runtime wrote.
    const auto fail = [&](const std::wstring& designed) {
        reportStartFailure(launch, vm, designed);
        return failAndDetach(vm);
    };

    jclass mainType = loadThroughLauncherHelper(launch, env);
    if (mainType != nullptr) {
        launch.trace.line({L"main class ", mainClass, L" loaded by the runtime's launcher helper"});
    } else {
        // The VM's own lookup, with the name in slash form.
        jstring name = newJavaString(mainClass, env);
        if (name == nullptr) {
            return fail(formatMessage(loadMessage(IDS_MAIN_CLASS_LOAD_FAILED), {mainClass}));
        }
        const char* utf8Name = env->GetStringUTFChars(name, nullptr);
        if (utf8Name == nullptr) {
            env->ExceptionDescribe();
            return fail(std::wstring());
        }
        mainType = env->FindClass(utf8Name);
        env->ReleaseStringUTFChars(name, utf8Name);
        if (mainType == nullptr) {
            env->ExceptionDescribe();
            return fail(formatMessage(loadMessage(IDS_MAIN_CLASS_NOT_FOUND), {mainClass}));
        }
        launch.trace.line({L"main class ", mainClass, L" loaded by FindClass"});
    }

    jmethodID mainMethod = env->GetStaticMethodID(mainType, "main", kMainSignature);
    if (mainMethod == nullptr) {
        return fail(describePendingException(env) ? std::wstring() : loadMessage(IDS_NO_MAIN_METHOD));
    }

    jobjectArray mainArguments = newJavaStringArray(launch.arguments, env);
    if (mainArguments == nullptr) {
        env->ExceptionDescribe();
        return fail(std::wstring());
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
    env->CallStaticVoidMethod(mainType, mainMethod, mainArguments);

    jthrowable thrown = env->ExceptionOccurred();
    launch.trace.line({thrown != nullptr ? L"main ended with an exception" : L"main returned"});
    if (thrown != nullptr) {
        if (launch.beforeExceptionDialog != nullptr) {
            launch.beforeExceptionDialog(launch.beforeExceptionDialogContext);
        }
        // Without the dialog nobody has decided about the failure: the process
        // reports it once the VM is gone (the VM prints the exception itself
        // when this thread detaches).
        vm.uncaughtException = !launch.failureCheck;
        if (launch.failureCheck && askToStopAfterException(describeException(env, thrown))) {
            jclass system = env->FindClass("java/lang/System");
            jmethodID exitMethod = system != nullptr ? env->GetStaticMethodID(system, "exit", "(I)V") : nullptr;
            if (exitMethod != nullptr) {
                env->CallStaticVoidMethod(system, exitMethod, static_cast<jint>(-1));
            }
            describePendingException(env);
        }
    }

    if (launch.stayAttached) {
        // Such runtimes must never see this thread detach.
        for (;;) {
            ::Sleep(INFINITE);
        }
    }
    return vm.javaVm->DetachCurrentThread() == JNI_OK;
}
