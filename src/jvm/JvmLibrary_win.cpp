#include "jvm/JvmLibrary_win.h"

#include "util/MessageIds.h"

Expected<JvmEntryPoints> loadJvmLibrary(const std::wstring& path)
{
    // The runtime's bin folder is on "Path" by now, so the library finds its
    // neighbours. Never freed: the VM lives in it until the process ends.
    HMODULE library = ::LoadLibraryW(path.c_str());
    if (library == nullptr) {
        const DWORD error = ::GetLastError();
        Failure failure = failureOf(IDS_JVM_LOAD_FAILED, {path, static_cast<std::int32_t>(error)});
        failure.windowsError = error;
        return failure;
    }
    JvmEntryPoints entries;
    entries.createJavaVm =
        reinterpret_cast<CreateJavaVmFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "JNI_CreateJavaVM")));
    if (entries.createJavaVm != nullptr) {
        entries.getDefaultJavaVmInitArgs = reinterpret_cast<GetDefaultJavaVmInitArgsFunction>(
            reinterpret_cast<void*>(::GetProcAddress(library, "JNI_GetDefaultJavaVMInitArgs")));
    }
    if (entries.createJavaVm == nullptr || entries.getDefaultJavaVmInitArgs == nullptr) {
        return windowsFailure(IDS_CREATE_JAVA_VM_MISSING, ::GetLastError());
    }
    entries.findClassFromBootLoader = reinterpret_cast<FindClassFromBootLoaderFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, "JVM_FindClassFromBootLoader")));
    return entries;
}
