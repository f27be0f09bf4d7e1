#include "jvm/JvmLibrary_win.h"

#include "jvm/LaunchPreparation_win.h"
#include "jvm/RuntimeEnvironment.h"
#include "util/MessageIds.h"
#include "util/SystemLibrary_win.h"

Expected<JvmEntryPoints> loadJvmLibrary(const std::wstring& givenPath, const Trace& trace)
{
    // The runtime takes its home from the library's path as narrow text: a
    // path that does not convert is loaded through its short form.
    const Expected<std::wstring> passable = passablePath(L"the JVM library", givenPath, runtimeNarrowing(trace));
    if (!passable) {
        return passable.failure();
    }
    const std::wstring& path = *passable;
    // What the library imports (the runtime's C library lies in its bin
    // folder) comes from the runtime's own folders and the system folder
    // only, never from a copy planted where the user starts from, beside the
    // launcher or on "Path". Never freed: the VM lives in it until the
    // process ends.
    HMODULE library = loadLibraryWithImportsFrom(path, runtimeFoldersFor(path).binFolder);
    if (library == nullptr) {
        const DWORD error = ::GetLastError();
        Failure failure = failureOf(IDS_JVM_LOAD_FAILED, {givenPath, static_cast<std::int32_t>(error)});
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
