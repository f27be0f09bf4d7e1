// A jvm.dll for end-to-end scenarios: the HotSpot bridge seen through a
// runtime library that exports only the three JNI invocation functions, not
// JVM_FindClassFromBootLoader. A launcher then cannot reach the runtime's
// LauncherHelper and must find the main class with the VM's own FindClass.
// The bridge itself is loaded from the build tree (HOTSPOT_BRIDGE_DLL).
#include <windows.h>

#include "jni/jni.h"

namespace {

FARPROC bridgeFunction(const char* name)
{
    static HMODULE bridge = ::LoadLibraryW(HOTSPOT_BRIDGE_DLL);
    return bridge != nullptr ? ::GetProcAddress(bridge, name) : nullptr;
}

template <typename Function>
Function bridgeEntry(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(bridgeFunction(name)));
}

} // namespace

extern "C" {

JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** vm, void** env, void* args)
{
    using Function = jint(JNICALL*)(JavaVM**, void**, void*);
    const Function create = bridgeEntry<Function>("JNI_CreateJavaVM");
    return create != nullptr ? create(vm, env, args) : JNI_ERR;
}

JNIEXPORT jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* args)
{
    using Function = jint(JNICALL*)(void*);
    const Function defaults = bridgeEntry<Function>("JNI_GetDefaultJavaVMInitArgs");
    return defaults != nullptr ? defaults(args) : JNI_ERR;
}

JNIEXPORT jint JNICALL JNI_GetCreatedJavaVMs(JavaVM** vms, jsize size, jsize* count)
{
    using Function = jint(JNICALL*)(JavaVM**, jsize, jsize*);
    const Function created = bridgeEntry<Function>("JNI_GetCreatedJavaVMs");
    return created != nullptr ? created(vms, size, count) : JNI_ERR;
}

} // extern "C"
