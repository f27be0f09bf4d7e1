// The test runtime's native splash library (bin\splashscreen.dll). It shows
// nothing; it records each call in the log of the runtime it is installed in,
// testruntime.log beside bin\<vm folder>\jvm.dll, so that a test sees the
// splash calls and the JNI calls in one sequence. Variants leave out
// SplashLoadFile (TEST_SPLASH_WITHOUT_LOAD_FILE) or SplashClose
// (TEST_SPLASH_WITHOUT_CLOSE).
#include "TestRuntime.h"

namespace {

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The folder whose jvm.dll this library belongs to: bin\server, else bin\client,
// else the first other folder of bin that holds a jvm.dll; bin itself when none does.
// The jvm.dll is normally not loaded yet when the splash starts, so the files decide.
std::wstring jvmFolder(const std::wstring& bin)
{
    for (const wchar_t* vm : {L"server", L"client"}) {
        if (fileExists(bin + vm + L"\\jvm.dll")) {
            return bin + vm + L"\\";
        }
    }
    std::wstring found = bin;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW((bin + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return found;
    }
    do {
        std::wstring name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L".."
            && fileExists(bin + name + L"\\jvm.dll")) {
            found = bin + name + L"\\";
            break;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

// The launcher passes narrow strings in the thread's ANSI code page; the log is UTF-8.
std::string fromAnsi(const char* text)
{
    if (!text) {
        return "null";
    }
    int length = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) {
        return "";
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, &wide[0], length);
    wide.pop_back();
    return utf8FromWide(wide);
}

} // namespace

extern "C" {

JNIEXPORT void SplashInit() { logLine("splash.init", threadIdText()); }

#ifndef TEST_SPLASH_WITHOUT_LOAD_FILE
// Returns non-zero: the image counts as loaded. splash.elapsed marks the moment a real splash would show it.
JNIEXPORT int SplashLoadFile(const char* fileName)
{
    logLine("splash.loadfile", fromAnsi(fileName));
    logLine("splash.elapsed", elapsedSinceProcessStart());
    return 1;
}
#endif

JNIEXPORT void SplashSetFileJarName(const char* fileName, const char* jarName)
{
    logLine("splash.setfilejarname", fromAnsi(fileName));
    logLine("splash.jarname", fromAnsi(jarName));
}

#ifndef TEST_SPLASH_WITHOUT_CLOSE
JNIEXPORT void SplashClose() { logLine("splash.close", threadIdText()); }
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        std::wstring path = modulePath(instance);
        openLog(jvmFolder(path.substr(0, path.find_last_of(L"\\/") + 1)) + L"testruntime.log");
        logLine("splash.dll", utf8FromWide(path));
    }
    return TRUE;
}

} // extern "C"
