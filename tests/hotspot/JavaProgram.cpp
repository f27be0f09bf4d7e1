// The runtime's bin\java.exe beside the HotSpot bridge, for what a launcher
// starts with a runtime's java.exe: VM options only ("-cp <path>" becomes the
// class path), no main class. It creates a VM through the jvm.dll of its
// runtime folder (HotSpot ends the process itself for -Xshare:dump) and
// destroys it again, on a thread of its own as HotSpot wants it; the exit code
// is 0 when the VM was created.
#include <windows.h>

#include <string>
#include <vector>

#include "jni/jni.h"

namespace {

std::string ansi(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

} // namespace

namespace {

using CreateVm = jint(JNICALL*)(JavaVM**, void**, void*);
CreateVm create = nullptr;
JavaVMInitArgs arguments{};

DWORD WINAPI runVm(void*)
{
    JavaVM* vm = nullptr;
    void* environment = nullptr;
    if (create(&vm, &environment, &arguments) != JNI_OK) {
        return 1;
    }
    vm->DestroyJavaVM();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self, length);
    folder.resize(folder.rfind(L'\\'));
    HMODULE jvm = ::LoadLibraryW((folder + L"\\server\\jvm.dll").c_str());
    create = jvm != nullptr ? reinterpret_cast<CreateVm>(reinterpret_cast<void*>(::GetProcAddress(jvm, "JNI_CreateJavaVM")))
                            : nullptr;
    if (create == nullptr) {
        return 2;
    }
    std::vector<std::string> texts;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        texts.push_back(argument == L"-cp" && i + 1 < argc ? "-Djava.class.path=" + ansi(argv[++i]) : ansi(argument));
    }
    std::vector<JavaVMOption> options;
    for (std::string& text : texts) {
        options.push_back(JavaVMOption{text.data(), nullptr});
    }
    arguments = JavaVMInitArgs{JNI_VERSION_1_2, static_cast<jint>(options.size()), options.data(), JNI_FALSE};
    HANDLE thread = ::CreateThread(nullptr, 0, runVm, nullptr, 0, nullptr);
    DWORD code = 3;
    if (thread != nullptr) {
        ::WaitForSingleObject(thread, INFINITE);
        ::GetExitCodeThread(thread, &code);
        ::CloseHandle(thread);
    }
    return static_cast<int>(code);
}
