// The functions jvm.dll exports (listed in jvm.def), forwarded to libjvm.so.
//
// libjvm.so is looked up in this order:
//   1. $JAVA_HOME/lib/server/libjvm.so, with JAVA_HOME read from the Unix
//      environment Wine was started with, when that file exists;
//   2. HSBRIDGE_DEFAULT_JAVA_HOME/lib/server/libjvm.so, fixed at build time
//      (the Debian openjdk-17 path unless the build says otherwise).
#include "Bridge.h"
#include "OptionTranslation.h"

#include <windows.h>

#include <dlfcn.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#ifndef HSBRIDGE_DEFAULT_JAVA_HOME
#define HSBRIDGE_DEFAULT_JAVA_HOME "/usr/lib/jvm/java-17-openjdk-amd64"
#endif

namespace hsbridge {
namespace {

struct LibJvm {
    jint (*createJavaVm)(JavaVM**, void**, void*);
    jint (*getDefaultJavaVmInitArgs)(void*);
    jint (*getCreatedJavaVms)(JavaVM**, jsize, jsize*);
    jclass (*findClassFromBootLoader)(JNIEnv*, const char*);
};

std::mutex libJvmMutex;
LibJvm libJvm{};
bool libJvmLoaded = false;

std::string libJvmPath() {
    const char* javaHome = getenv("JAVA_HOME");
    if (javaHome != nullptr && *javaHome != '\0') {
        std::string candidate = std::string(javaHome) + "/lib/server/libjvm.so";
        if (access(candidate.c_str(), R_OK) == 0) return candidate;
    }
    return HSBRIDGE_DEFAULT_JAVA_HOME "/lib/server/libjvm.so";
}

// Loads libjvm.so once; null (with a message on stderr) when it cannot.
const LibJvm* loadLibJvm() {
    std::lock_guard<std::mutex> lock(libJvmMutex);
    if (libJvmLoaded) return &libJvm;
    const std::string path = libJvmPath();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (handle == nullptr) {
        fprintf(stderr, "jvm.dll bridge: cannot load %s: %s\n", path.c_str(), dlerror());
        return nullptr;
    }
    libJvm.createJavaVm = reinterpret_cast<decltype(libJvm.createJavaVm)>(dlsym(handle, "JNI_CreateJavaVM"));
    libJvm.getDefaultJavaVmInitArgs =
        reinterpret_cast<decltype(libJvm.getDefaultJavaVmInitArgs)>(dlsym(handle, "JNI_GetDefaultJavaVMInitArgs"));
    libJvm.getCreatedJavaVms =
        reinterpret_cast<decltype(libJvm.getCreatedJavaVms)>(dlsym(handle, "JNI_GetCreatedJavaVMs"));
    libJvm.findClassFromBootLoader =
        reinterpret_cast<decltype(libJvm.findClassFromBootLoader)>(dlsym(handle, "JVM_FindClassFromBootLoader"));
    if (libJvm.createJavaVm == nullptr || libJvm.getDefaultJavaVmInitArgs == nullptr ||
        libJvm.getCreatedJavaVms == nullptr || libJvm.findClassFromBootLoader == nullptr) {
        fprintf(stderr, "jvm.dll bridge: %s lacks the JNI invocation functions\n", path.c_str());
        return nullptr;
    }
    libJvmLoaded = true;
    return &libJvm;
}

// Makes the Unix working folder the Windows current folder. Wine keeps the
// two apart (SetCurrentDirectoryW changes only the Windows one), but HotSpot
// takes user.dir from the Unix one and opens relative names against it, where
// a Windows VM would use the Windows one. When the Windows folder has no Unix
// path, the Unix working folder stays as it is.
void adoptWindowsCurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return;
    std::u16string folder(needed, u'\0');
    const DWORD written = GetCurrentDirectoryW(needed, reinterpret_cast<WCHAR*>(&folder[0]));
    if (written == 0 || written >= needed) return;
    folder.resize(written);
    char* unixFolder = wine_get_unix_file_name(reinterpret_cast<const WCHAR*>(folder.c_str()));
    if (unixFolder == nullptr) return;
    if (chdir(unixFolder) != 0) {
        fprintf(stderr, "jvm.dll bridge: cannot make %s the working folder\n", unixFolder);
    }
    HeapFree(GetProcessHeap(), 0, unixFolder);
}

const LibJvm* loadedLibJvm() {
    std::lock_guard<std::mutex> lock(libJvmMutex);
    return libJvmLoaded ? &libJvm : nullptr;
}

}  // namespace
}  // namespace hsbridge

using namespace hsbridge;

extern "C" {

// Options HotSpot gets besides the caller's: -Xrs keeps it away from SIGQUIT
// and SIGINT, which Wine uses to end threads. Faults (SIGSEGV and friends)
// still go to HotSpot first; its signal chaining hands foreign ones to Wine.
// The caller's "exit" and "abort" hooks are replaced by the bridge's (see
// ProcessExit.cpp); "vfprintf" is dropped, since HotSpot would pass a Unix
// FILE* and va_list to a Windows function.
jint WINAPI bridge_JNI_CreateJavaVM(JavaVM** pvm, void** penv, void* args) {
    if (syscall(SYS_gettid) == getpid()) {
        // Wine's initial thread is the Unix primordial thread, but runs on a
        // stack Wine allocated; HotSpot dies with SIGSEGV while starting there.
        fprintf(stderr, "jvm.dll bridge: create the Java VM on a thread of its own, not the initial thread\n");
        return JNI_ERR;
    }
    const LibJvm* lib = loadLibJvm();
    if (lib == nullptr || args == nullptr) return JNI_ERR;
    const auto* windowsArgs = static_cast<const JavaVMInitArgs*>(args);

    std::vector<std::string> strings{"-Xrs"};
    std::vector<void*> extraInfo{nullptr};
    WindowsExitHook exitHook = nullptr;
    WindowsAbortHook abortHook = nullptr;
    for (jint i = 0; i < windowsArgs->nOptions; ++i) {
        const JavaVMOption& option = windowsArgs->options[i];
        if (option.optionString == nullptr) return JNI_EINVAL;
        if (strcmp(option.optionString, "exit") == 0) {
            exitHook = reinterpret_cast<WindowsExitHook>(option.extraInfo);
        } else if (strcmp(option.optionString, "abort") == 0) {
            abortHook = reinterpret_cast<WindowsAbortHook>(option.extraInfo);
        } else if (strcmp(option.optionString, "vfprintf") != 0) {
            strings.push_back(translateOption(option.optionString));
            extraInfo.push_back(option.extraInfo);
        }
    }
    if (!prepareProcessExit(exitHook, abortHook)) return JNI_ERR;
    adoptWindowsStandardHandles();
    adoptWindowsCurrentDirectory();
    strings.push_back("exit");
    extraInfo.push_back(reinterpret_cast<void*>(&unixExitHook));
    strings.push_back("abort");
    extraInfo.push_back(reinterpret_cast<void*>(&unixAbortHook));

    std::vector<JavaVMOption> options(strings.size());
    for (size_t i = 0; i < strings.size(); ++i) {
        options[i].optionString = &strings[i][0];
        options[i].extraInfo = extraInfo[i];
    }
    JavaVMInitArgs unixArgs = *windowsArgs;
    unixArgs.nOptions = static_cast<jint>(options.size());
    unixArgs.options = options.data();

    if (getenv("HSBRIDGE_TRACE") != nullptr) {
        // Debugging aid: HSBRIDGE_TRACE=1 in the Unix environment shows the
        // options as HotSpot receives them.
        for (const auto& option : options) fprintf(stderr, "jvm.dll bridge option: %s\n", option.optionString);
    }
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    const jint result = lib->createJavaVm(&vm, reinterpret_cast<void**>(&env), &unixArgs);
    if (result == JNI_OK) {
        if (pvm != nullptr) *pvm = reinterpret_cast<JavaVM*>(wrapVm(vm));
        if (penv != nullptr) *penv = wrapEnv(env);
    } else {
        // HotSpot's complaint comes before whatever the caller reports next.
        flushStandardStreams();
    }
    return result;
}

jint WINAPI bridge_JNI_GetDefaultJavaVMInitArgs(void* args) {
    const LibJvm* lib = loadLibJvm();
    return lib == nullptr ? JNI_ERR : lib->getDefaultJavaVmInitArgs(args);
}

jint WINAPI bridge_JNI_GetCreatedJavaVMs(JavaVM** vms, jsize size, jsize* count) {
    const LibJvm* lib = loadedLibJvm();
    if (lib == nullptr) {
        // No VM can exist before libjvm.so is loaded.
        if (count != nullptr) *count = 0;
        return JNI_OK;
    }
    const jint result = lib->getCreatedJavaVms(vms, size, count);
    if (result == JNI_OK && vms != nullptr && count != nullptr) {
        for (jsize i = 0; i < *count && i < size; ++i) vms[i] = reinterpret_cast<JavaVM*>(wrapVm(vms[i]));
    }
    return result;
}

jclass WINAPI bridge_JVM_FindClassFromBootLoader(JNIEnv* env, const char* name) {
    const LibJvm* lib = loadedLibJvm();
    if (lib == nullptr || env == nullptr) return nullptr;
    return lib->findClassFromBootLoader(reinterpret_cast<WinEnv*>(env)->real, name);
}

}  // extern "C"
