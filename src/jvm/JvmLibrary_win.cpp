#include "jvm/JvmLibrary_win.h"

#include "ui/ErrorReporting_win.h"

std::optional<JvmEntryPoints> loadJvmLibrary(const std::wstring& path, HWND owner)
{
    // The runtime's bin folder is on "Path" by now, so the library finds its
    // neighbours. Never freed: the VM lives in it until the process ends.
    HMODULE library = ::LoadLibraryW(path.c_str());
    if (library == nullptr) {
        const DWORD error = ::GetLastError();
        showErrorMessage(owner, IDS_JVM_LOAD_FAILED, {path, static_cast<std::int32_t>(error)});
        return std::nullopt;
    }
    JvmEntryPoints entries;
    entries.createJavaVm =
        reinterpret_cast<CreateJavaVmFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "JNI_CreateJavaVM")));
    if (entries.createJavaVm != nullptr) {
        entries.getDefaultJavaVmInitArgs = reinterpret_cast<GetDefaultJavaVmInitArgsFunction>(
            reinterpret_cast<void*>(::GetProcAddress(library, "JNI_GetDefaultJavaVMInitArgs")));
    }
    if (entries.createJavaVm == nullptr || entries.getDefaultJavaVmInitArgs == nullptr) {
        const DWORD error = ::GetLastError();
        showWindowsError(owner, IDS_CREATE_JAVA_VM_MISSING, error);
        return std::nullopt;
    }
    entries.findClassFromBootLoader = reinterpret_cast<FindClassFromBootLoaderFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, "JVM_FindClassFromBootLoader")));
    return entries;
}
