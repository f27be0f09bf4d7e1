#include "support/Scenario.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace {

std::wstring windowsPath(std::wstring path)
{
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

// UTF-8 text (paths of the build tree, test names) as wide text.
std::wstring widen(const char* text)
{
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring result(size > 0 ? static_cast<std::size_t>(size) : 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, result.data(), size);
    result.resize(result.size() - 1);
    return result;
}

// The text of a window of another process. Asked with a time limit: a plain
// WM_GETTEXTLENGTH would block the driver for as long as the window's thread
// does not take messages.
std::wstring windowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &length)) {
        return std::wstring();
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &copied)) {
        return std::wstring();
    }
    text.resize(copied < text.size() ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::wstring className(HWND window)
{
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

struct FindState {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectProcessWindow(HWND window, LPARAM parameter)
{
    auto* state = reinterpret_cast<FindState*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == state->processId && ::IsWindowVisible(window)) {
        state->windows.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK collectControl(HWND window, LPARAM parameter)
{
    auto* dialog = reinterpret_cast<DialogInfo*>(parameter);
    DialogInfo::Control control;
    control.id = ::GetDlgCtrlID(window);
    control.className = className(window);
    control.text = windowText(window);
    if (control.id == 0xFFFF && dialog->text.empty()) {
        dialog->text = control.text;
    }
    dialog->controls.push_back(control);
    return TRUE;
}

DialogInfo readDialog(HWND window)
{
    DialogInfo dialog;
    dialog.window = window;
    dialog.className = className(window);
    dialog.title = windowText(window);
    if (HWND owner = ::GetWindow(window, GW_OWNER)) {
        dialog.ownerClassName = className(owner);
    }
    ::EnumChildWindows(window, collectControl, reinterpret_cast<LPARAM>(&dialog));
    return dialog;
}

std::wstring testName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info == nullptr) {
        return L"NoTest";
    }
    std::wstring name = widen(info->test_suite_name()) + L"_" + widen(info->name());
    for (wchar_t& c : name) {
        if (c == L'/' || c == L'\\' || c == L':') {
            c = L'_';
        }
    }
    return name;
}

std::string narrow(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                          nullptr);
    return result;
}

// A pipe the child writes into, drained by a thread of its own so that the
// child never blocks on a full pipe while the driver watches its windows.
struct OutputPipe {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;  // inheritable: the child's end
    std::string text;
    std::thread reader;

    bool open()
    {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
            return false;
        }
        ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        return true;
    }

    // Called once the child holds its copy of the write end; reading begins
    // `delayMs` later, as with a reader that comes late.
    void startDraining(DWORD delayMs = 0)
    {
        closeWriteEnd();
        reader = std::thread([this, delayMs] {
            ::Sleep(delayMs);
            char buffer[4096];
            DWORD got = 0;
            while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
                text.append(buffer, got);
            }
        });
    }

    void closeWriteEnd()
    {
        if (writeEnd != nullptr) {
            ::CloseHandle(writeEnd);
            writeEnd = nullptr;
        }
    }

    // Waits until every writer has closed its end, releases the pipe and
    // returns what came through it.
    std::string finish()
    {
        closeWriteEnd();
        if (reader.joinable()) {
            reader.join();
        }
        if (readEnd != nullptr) {
            ::CloseHandle(readEnd);
            readEnd = nullptr;
        }
        return std::move(text);
    }

    ~OutputPipe() { finish(); }
};

} // namespace

const DialogInfo::Control* DialogInfo::control(int id) const
{
    for (const Control& c : controls) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

int pressDefaultButton(const DialogInfo& dialog)
{
    return dialog.control(0xFFFF) != nullptr ? IDOK : IDCANCEL;
}

std::vector<std::wstring> RunResult::messageTexts() const
{
    std::vector<std::wstring> texts;
    for (const DialogInfo& dialog : dialogs) {
        if (dialog.className == L"#32770") {
            texts.push_back(dialog.text);
        }
    }
    return texts;
}

std::wstring buildPath(const std::wstring& relative)
{
    return windowsPath(widen(E2E_BUILD_ROOT)) + L"\\" + relative;
}

std::wstring launcherPath()
{
    return buildPath(L"launcher.exe");
}

void removeTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

Scenario::Scenario() : Scenario(testName()) {}

Scenario::Scenario(const std::wstring& name)
{
    const std::wstring root = windowsPath(widen(E2E_SCENARIO_ROOT));
    ::CreateDirectoryW(root.c_str(), nullptr);
    folder_ = root + L"\\" + name;
    removeTree(folder_);
    ::CreateDirectoryW(folder_.c_str(), nullptr);
}

void Scenario::installLauncher(const std::wstring& exeName, const std::wstring& source) const
{
    const std::wstring from = source.empty() ? launcherPath() : source;
    ASSERT_TRUE(::CopyFileW(from.c_str(), path(exeName).c_str(), FALSE))
        << "cannot copy " << narrow(from) << " error " << ::GetLastError();
}

void Scenario::writeBytes(const std::wstring& relative, const std::string& bytes) const
{
    HANDLE file = ::CreateFileW(path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << narrow(path(relative));
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

void Scenario::writeText(const std::wstring& relative, const std::wstring& text) const
{
    std::wstring crlf;
    for (wchar_t c : text) {
        if (c == L'\n') {
            crlf += L"\r\n";
        } else {
            crlf += c;
        }
    }
    writeBytes(relative, narrow(crlf));
}

void Scenario::writeUtf16(const std::wstring& relative, const std::wstring& text) const
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        if (c == L'\n') {
            bytes += std::string("\r\0\n\0", 4);
            continue;
        }
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    writeBytes(relative, bytes);
}

void Scenario::createFolder(const std::wstring& relative) const
{
    std::wstring full = folder_;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t slash = relative.find(L'\\', start);
        if (slash == std::wstring::npos) {
            slash = relative.size();
        }
        full += L"\\" + relative.substr(start, slash - start);
        ::CreateDirectoryW(full.c_str(), nullptr);
        start = slash + 1;
    }
}

bool Scenario::exists(const std::wstring& relative) const
{
    return ::GetFileAttributesW(path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Scenario::readBytes(const std::wstring& relative) const
{
    return readFileBytes(path(relative));
}

std::string readFileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    ::CloseHandle(file);
    return bytes;
}

std::string utf8(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    return bytes;
}

RunResult Scenario::run(const std::wstring& arguments, DWORD timeoutMs, const DialogHandler& handler,
                        const std::wstring& exeName, const ProcessWatcher& watcher) const
{
    const std::wstring program = path(exeName);
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    return runProcess(program, commandLine, folder_, timeoutMs, handler, false, watcher);
}

RunResult runProcess(const std::wstring& program, const std::wstring& commandLine, const std::wstring& workingFolder,
                     DWORD timeoutMs, const DialogHandler& handler, bool captureOutput,
                     const ProcessWatcher& watcher, DWORD errorReadDelayMs)
{
    RunResult result;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    OutputPipe output;
    OutputPipe error;
    if (captureOutput) {
        if (!output.open() || !error.open()) {
            ADD_FAILURE() << "cannot create the output pipes, error " << ::GetLastError();
            result.exitCode = 0xDEADBEEF;
            return result;
        }
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output.writeEnd;
        startup.hStdError = errorReadDelayMs == kErrorIntoOutput ? output.writeEnd : error.writeEnd;
    }
    PROCESS_INFORMATION process{};
    std::wstring mutableCommandLine = commandLine;
    if (!::CreateProcessW(program.c_str(), mutableCommandLine.data(), nullptr, nullptr, captureOutput ? TRUE : FALSE,
                          0, nullptr, workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process)) {
        ADD_FAILURE() << "cannot start " << narrow(program) << " error " << ::GetLastError();
        result.exitCode = 0xDEADBEEF;
        return result;
    }
    ::CloseHandle(process.hThread);
    if (captureOutput) {
        output.startDraining();
        error.startDraining(errorReadDelayMs == kErrorIntoOutput ? 0 : errorReadDelayMs);
    }

    std::set<HWND> handled;
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (::WaitForSingleObject(process.hProcess, watcher ? 2 : 50) == WAIT_OBJECT_0) {
            break;
        }
        if (watcher) {
            watcher(process.hProcess, process.dwProcessId);
        }
        if (::GetTickCount64() > deadline) {
            result.timedOut = true;
            ::TerminateProcess(process.hProcess, 0xDEAD);
            ::WaitForSingleObject(process.hProcess, 5000);
            break;
        }
        FindState state{process.dwProcessId, {}};
        ::EnumWindows(collectProcessWindow, reinterpret_cast<LPARAM>(&state));
        for (HWND window : state.windows) {
            if (handled.count(window) != 0) {
                continue;
            }
            // Only dialogs are read: asking other windows for their text
            // could wait on a thread that is busy elsewhere.
            if (className(window) != L"#32770") {
                continue;
            }
            DialogInfo dialog = readDialog(window);
            // A box is complete once its text control exists.
            if (dialog.controls.empty()) {
                continue;
            }
            handled.insert(window);
            result.dialogs.push_back(dialog);
            const int button = handler(dialog);
            if (button != 0) {
                HWND control = ::GetDlgItem(window, button);
                ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
            }
        }
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    result.exitCode = code;
    ::CloseHandle(process.hProcess);
    if (captureOutput) {
        result.standardOutput = output.finish();
        result.standardError = error.finish();
    }
    return result;
}
