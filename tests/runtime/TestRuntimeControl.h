#pragma once
// Test-side control of the test Java runtime: lays out a runtime folder with
// the built jvm.dll and java.dll (and optionally bin\splashscreen.dll), writes
// the steering file (testruntime.cfg) beside jvm.dll and reads its event log
// (testruntime.log) back. Windows only.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "StandardErrorText.h"

enum class TestRuntimeVariant {
    Standard,       // all four exports
    NoBootLoader,   // without JVM_FindClassFromBootLoader
    NoDefaultArgs,  // without JNI_GetDefaultJavaVMInitArgs
    ImportsCrt,     // all four exports; imports jvmcrtIdentity from the jvmcrt.dll in the runtime's bin folder
};

// The two builds of jvmcrt.dll: the runtime's own and a planted stranger.
enum class TestCrtFlavour {
    Runtime,  // jvmcrtIdentity returns "runtime"
    Planted,  // jvmcrtIdentity returns "planted"
};

enum class TestSplashVariant {
    Standard,    // SplashInit, SplashLoadFile, SplashSetFileJarName, SplashClose
    NoLoadFile,  // without SplashLoadFile
    NoClose,     // without SplashClose
};

// What the simulated runtime does in one scenario. Texts are UTF-8.
struct TestRuntimeScenario {
    int createResult = 0;                       // result of JNI_CreateJavaVM
    std::uint32_t createDelayMillis = 0;        // JNI_CreateJavaVM takes this long before it returns
    std::vector<std::string> createErrLines;    // lines JNI_CreateJavaVM writes to the standard error handle
    std::int32_t defaultStackSize = 0;          // javaStackSize of JNI_GetDefaultJavaVMInitArgs (JNI 1.1)
    bool launcherHelper = true;                 // sun/launcher/LauncherHelper exists
    bool checkAndLoadMain = true;               // it has checkAndLoadMain of the expected signature (false: an older one)
    std::vector<std::string> prestartErrLines;  // lines checkAndLoadMain writes to System.err before it returns
    std::optional<int> prestartExitCode;        // then checkAndLoadMain ends with System.exit(code)
    std::string mainClass = "app/Main";         // slash form
    bool hasMain = true;                        // static void main(String[])
    std::string secondaryMain;                  // "", "void" or "int"
    int secondaryResult = 0;                    // returned by the int form
    bool noSuchMethodException = true;          // a failed method lookup leaves NoSuchMethodError pending
    bool printArguments = true;                 // main prints each argument as a line to System.out
    std::vector<std::string> outLines;          // then these lines to System.out
    std::vector<std::string> errLines;          // and these to System.err
    std::size_t errBytes = 0;                   // then standardErrorText(errBytes) straight to the standard error handle
    std::uint32_t threadMillis = 0;             // main starts a non-daemon thread living this long
    std::optional<int> threadExitCode;          // the non-daemon thread ends with System.exit(code)
    std::uint32_t sleepMillis = 0;              // main sleeps this long before it ends
    std::optional<int> exitCode;                // main ends with System.exit(code)
    std::optional<std::string> throwMessage;    // main ends by throwing with this message
    std::string throwClass = "java/lang/IllegalStateException";
    std::vector<std::string> environment;       // variables whose values JNI_CreateJavaVM logs as env.<name>
    bool mainUntilStop = false;                 // main then waits until the stop method lets it return
    std::string stopMethod;                     // "", "void" or "args": the main class has static stop()V or stop(String[])V
    std::optional<int> stopExitCode;            // the stop method ends with System.exit(code)
    bool stopHangs = false;                     // the stop method never returns
    std::string shutdownHook;                   // "", "yes" or "hang": a hook that System.exit and DestroyJavaVM run

    std::string steeringText() const
    {
        auto flag = [](bool value) { return std::string(value ? "yes" : "no"); };
        std::string text = "create.result=" + std::to_string(createResult) + "\n";
        text += "create.delay=" + std::to_string(createDelayMillis) + "\n";
        for (const auto& line : createErrLines) {
            text += "create.err=" + line + "\n";
        }
        text += "default.stack=" + std::to_string(defaultStackSize) + "\n";
        text += "launcherhelper=" + (launcherHelper && !checkAndLoadMain ? std::string("nocheck") : flag(launcherHelper)) + "\n";
        for (const auto& line : prestartErrLines) {
            text += "prestart.err=" + line + "\n";
        }
        if (prestartExitCode) {
            text += "prestart.exit=" + std::to_string(*prestartExitCode) + "\n";
        }
        text += "mainclass=" + mainClass + "\n";
        text += "main=" + flag(hasMain) + "\n";
        text += "secondary=" + (secondaryMain.empty() ? std::string("none") : secondaryMain) + "\n";
        text += "secondary.result=" + std::to_string(secondaryResult) + "\n";
        text += "nosuchmethod.exception=" + flag(noSuchMethodException) + "\n";
        text += "main.printargs=" + flag(printArguments) + "\n";
        for (const auto& line : outLines) {
            text += "main.out=" + line + "\n";
        }
        for (const auto& line : errLines) {
            text += "main.err=" + line + "\n";
        }
        if (errBytes > 0) {
            text += "main.errbytes=" + std::to_string(errBytes) + "\n";
        }
        text += "main.thread=" + std::to_string(threadMillis) + "\n";
        if (threadExitCode) {
            text += "main.thread.exit=" + std::to_string(*threadExitCode) + "\n";
        }
        text += "main.sleep=" + std::to_string(sleepMillis) + "\n";
        if (exitCode) {
            text += "main.exit=" + std::to_string(*exitCode) + "\n";
        }
        if (throwMessage) {
            text += "main.throw=" + *throwMessage + "\n";
            text += "main.throw.class=" + throwClass + "\n";
        }
        for (const auto& name : environment) {
            text += "env=" + name + "\n";
        }
        text += "main.untilstop=" + flag(mainUntilStop) + "\n";
        text += "stop=" + (stopMethod.empty() ? std::string("none") : stopMethod) + "\n";
        if (stopExitCode) {
            text += "stop.exit=" + std::to_string(*stopExitCode) + "\n";
        }
        text += "stop.hang=" + flag(stopHangs) + "\n";
        text += "hook=" + (shutdownHook.empty() ? std::string("none") : shutdownHook) + "\n";
        return text;
    }
};

// The events the runtime logged, in order, as key and value (UTF-8).
struct TestRuntimeLog {
    std::vector<std::pair<std::string, std::string>> entries;

    std::vector<std::string> values(const std::string& key) const
    {
        std::vector<std::string> out;
        for (const auto& [k, v] : entries) {
            if (k == key) {
                out.push_back(v);
            }
        }
        return out;
    }
    // The first value of the key, or "" when it was not logged.
    std::string value(const std::string& key) const
    {
        for (const auto& [k, v] : entries) {
            if (k == key) {
                return v;
            }
        }
        return "";
    }
    bool has(const std::string& key) const { return !values(key).empty(); }
};

namespace testruntime_detail {

inline bool writeBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

inline std::string readBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

// Creates the folder and its missing parents.
inline bool createFolders(const std::wstring& folder)
{
    for (std::size_t i = folder.find_first_of(L"\\/", 3); ; i = folder.find_first_of(L"\\/", i + 1)) {
        std::wstring part = folder.substr(0, i);
        if (!part.empty() && !CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            return false;
        }
        if (i == std::wstring::npos) {
            return true;
        }
    }
}

inline std::wstring withSlash(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    return folder;
}

} // namespace testruntime_detail

// The built jvm.dll of a variant; buildFolder is the runtime's build folder
// (TEST_RUNTIME_BUILD_DIR of the test_runtime_control CMake target).
inline std::wstring testRuntimeLibrary(const std::wstring& buildFolder, TestRuntimeVariant variant)
{
    const wchar_t* sub = variant == TestRuntimeVariant::Standard       ? L"standard"
                         : variant == TestRuntimeVariant::NoBootLoader ? L"no-bootloader"
                         : variant == TestRuntimeVariant::ImportsCrt   ? L"imports-crt"
                                                                       : L"no-defaultargs";
    return testruntime_detail::withSlash(buildFolder) + sub + L"\\jvm.dll";
}

// The built jvmcrt.dll of a flavour; copy the planted one wherever a start
// must not pick it up.
inline std::wstring testCrtLibrary(const std::wstring& buildFolder, TestCrtFlavour flavour)
{
    return testruntime_detail::withSlash(buildFolder) + L"crt\\" +
           (flavour == TestCrtFlavour::Runtime ? L"runtime" : L"planted") + L"\\jvmcrt.dll";
}

// The built runtime marker library (to be placed as bin\java.dll).
inline std::wstring testRuntimeMarker(const std::wstring& buildFolder)
{
    return testruntime_detail::withSlash(buildFolder) + L"java.dll";
}

// The built splashscreen.dll of a variant.
inline std::wstring testSplashLibrary(const std::wstring& buildFolder, TestSplashVariant variant)
{
    const wchar_t* sub = variant == TestSplashVariant::Standard     ? L"standard"
                         : variant == TestSplashVariant::NoLoadFile ? L"no-loadfile"
                                                                    : L"no-close";
    return testruntime_detail::withSlash(buildFolder) + L"splash\\" + sub + L"\\splashscreen.dll";
}

// Copies the splashscreen.dll of the variant into home\bin, where the launcher
// looks for it. It logs into testruntime.log beside bin\server\jvm.dll (else
// beside bin\client\jvm.dll or another bin\<folder>\jvm.dll). Returns its path, or "" on failure.
inline std::wstring installTestSplash(const std::wstring& buildFolder, TestSplashVariant variant, const std::wstring& home)
{
    std::wstring bin = testruntime_detail::withSlash(home) + L"bin\\";
    std::wstring splash = bin + L"splashscreen.dll";
    bool ok = testruntime_detail::createFolders(bin) && CopyFileW(testSplashLibrary(buildFolder, variant).c_str(), splash.c_str(), FALSE);
    return ok ? splash : std::wstring();
}

// Writes the steering file into the folder of a jvm.dll and removes its old log.
inline bool writeTestRuntimeScenario(const std::wstring& jvmFolder, const TestRuntimeScenario& scenario)
{
    std::wstring folder = testruntime_detail::withSlash(jvmFolder);
    DeleteFileW((folder + L"testruntime.log").c_str());
    return testruntime_detail::writeBytes(folder + L"testruntime.cfg", scenario.steeringText());
}

// Lays out a runtime in home: bin\java.dll and bin\<vmFolder>\jvm.dll of the
// variant with the scenario beside it, and for ImportsCrt the runtime's own
// bin\jvmcrt.dll. Returns the jvm.dll path, or "" on failure.
inline std::wstring installTestRuntime(const std::wstring& buildFolder, TestRuntimeVariant variant, const std::wstring& home,
    const TestRuntimeScenario& scenario, const std::wstring& vmFolder = L"server")
{
    std::wstring bin = testruntime_detail::withSlash(home) + L"bin\\";
    std::wstring jvmFolder = bin + vmFolder + L"\\";
    std::wstring jvm = jvmFolder + L"jvm.dll";
    bool ok = testruntime_detail::createFolders(jvmFolder)
        && CopyFileW(testRuntimeMarker(buildFolder).c_str(), (bin + L"java.dll").c_str(), FALSE)
        && CopyFileW(testRuntimeLibrary(buildFolder, variant).c_str(), jvm.c_str(), FALSE)
        && writeTestRuntimeScenario(jvmFolder, scenario)
        && (variant != TestRuntimeVariant::ImportsCrt
            || CopyFileW(testCrtLibrary(buildFolder, TestCrtFlavour::Runtime).c_str(), (bin + L"jvmcrt.dll").c_str(), FALSE));
    return ok ? jvm : std::wstring();
}

// Reads the log beside a jvm.dll: "key=value" lines; line breaks inside a value were logged as \n and \r.
inline TestRuntimeLog readTestRuntimeLog(const std::wstring& jvmFolder)
{
    std::string text = testruntime_detail::readBytes(testruntime_detail::withSlash(jvmFolder) + L"testruntime.log");
    TestRuntimeLog log;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        std::size_t eq = line.find('=');
        if (eq != std::string::npos) {
            log.entries.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
    }
    return log;
}

// Writes a file that carries only the headers of a PE image for the machine
// (0x014C Intel 386 with a PE32 optional header, else a PE32+ one), as a
// stand-in for a jvm.dll of that architecture. It cannot be loaded.
inline bool writePeHeaderFile(const std::wstring& path, std::uint16_t machine)
{
    std::string image(512, '\0');
    auto put16 = [&](std::size_t at, std::uint16_t v) {
        image[at] = static_cast<char>(v & 0xFF);
        image[at + 1] = static_cast<char>(v >> 8);
    };
    const std::size_t peOffset = 0x80;
    const bool pe32 = machine == 0x014C;
    put16(0, 0x5A4D);                                // "MZ"
    put16(0x3C, static_cast<std::uint16_t>(peOffset)); // e_lfanew
    put16(peOffset, 0x4550);                         // "PE\0\0"
    put16(peOffset + 4, machine);
    put16(peOffset + 4 + 16, pe32 ? 224 : 240);      // SizeOfOptionalHeader
    put16(peOffset + 4 + 18, pe32 ? 0x2102 : 0x2022); // executable DLL, 32-bit or large-address-aware
    put16(peOffset + 24, pe32 ? 0x010B : 0x020B);    // optional header magic
    return testruntime_detail::writeBytes(path, image);
}
