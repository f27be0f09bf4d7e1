// The least a start must do before the VM exists, for comparison with the
// launcher: the thread locale, a message queue for the main thread, the JVM
// library loaded from jre64\bin\server\ beside this program, and the VM
// created on a thread of its own with a class path and the two hooks.
#include <windows.h>

#include <string>

#include "jni/jni.h"

namespace {

struct Start {
    CreateJavaVmFunction create;
    std::string classPath;
};

void JNICALL exitHook(jint) {}
void JNICALL abortHook() {}

DWORD WINAPI createVm(LPVOID parameter)
{
    auto* start = static_cast<Start*>(parameter);
    char abortName[] = "abort";
    char exitName[] = "exit";
    JavaVMOption options[] = {
        {start->classPath.data(), nullptr},
        {abortName, reinterpret_cast<void*>(&abortHook)},
        {exitName, reinterpret_cast<void*>(&exitHook)},
    };
    JavaVMInitArgs arguments{};
    arguments.version = JNI_VERSION_1_2;
    arguments.nOptions = 3;
    arguments.options = options;
    JavaVM* vm = nullptr;
    void* env = nullptr;
    return start->create(&vm, &env, &arguments) == JNI_OK ? 0 : 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    ::SetThreadLocale(::GetSystemDefaultLCID());
    ::DefWindowProcW(nullptr, 0, 0, 0);
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self, length);
    folder.resize(folder.rfind(L'\\') + 1);
    HMODULE library = ::LoadLibraryW((folder + L"jre64\\bin\\server\\jvm.dll").c_str());
    if (library == nullptr) {
        return 2;
    }
    Start start;
    start.create = reinterpret_cast<CreateJavaVmFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "JNI_CreateJavaVM")));
    if (start.create == nullptr) {
        return 3;
    }
    std::string narrowFolder(folder.begin(), folder.end());
    start.classPath = "-Djava.class.path=" + narrowFolder + "app.jar;";
    HANDLE thread = ::CreateThread(nullptr, 0, createVm, &start, 0, nullptr);
    ::WaitForSingleObject(thread, INFINITE);
    DWORD code = 1;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    return static_cast<int>(code);
}
