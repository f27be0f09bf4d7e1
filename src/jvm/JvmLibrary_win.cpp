#include "jvm/JvmLibrary_win.h"

#include "app/ErrorReporting_win.h"
#include "app/Launcher.h"

bool loadJvmLibrary(Launcher& launcher)
{
    // The runtime's bin folder is on "Path" by now, so the library finds its
    // neighbours. Never freed: the VM lives in it until the process ends.
    HMODULE library = ::LoadLibraryW(launcher.jvmLibraryPath.c_str());
    if (library == nullptr) {
        const DWORD error = ::GetLastError();
        showErrorMessage(launcher.splashWindowHandle, IDS_JVM_LOAD_FAILED,
                         {launcher.jvmLibraryPath, static_cast<std::int32_t>(error)});
        return false;
    }
    JvmEntryPoints& entries = launcher.jvmEntryPoints;
    entries.createJavaVm =
        reinterpret_cast<CreateJavaVmFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "JNI_CreateJavaVM")));
    if (entries.createJavaVm != nullptr) {
        entries.getDefaultJavaVmInitArgs = reinterpret_cast<GetDefaultJavaVmInitArgsFunction>(
            reinterpret_cast<void*>(::GetProcAddress(library, "JNI_GetDefaultJavaVMInitArgs")));
    }
    if (entries.createJavaVm == nullptr || entries.getDefaultJavaVmInitArgs == nullptr) {
        const DWORD error = ::GetLastError();
        showWindowsError(launcher.splashWindowHandle, IDS_CREATE_JAVA_VM_MISSING, error);
        return false;
    }
    entries.findClassFromBootLoader = reinterpret_cast<FindClassFromBootLoaderFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, "JVM_FindClassFromBootLoader")));
    return true;
}
