#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// One window of the launcher's process as the test driver read it from the
// screen.
struct DialogInfo {
    HWND window = nullptr;  // for driving the dialog further; gone once it closed
    std::wstring className;
    std::wstring title;
    std::wstring text;  // message box text: the static control with id 0xFFFF
    std::wstring ownerClassName;  // class of the window that owns it; empty for none
    struct Control {
        int id = 0;
        std::wstring className;
        std::wstring text;
    };
    std::vector<Control> controls;

    const Control* control(int id) const;
};

// What to do with a dialog: the id of the button to press (IDOK, IDCANCEL, ...),
// or 0 to leave it open.
using DialogHandler = std::function<int(const DialogInfo&)>;

// Called on every turn of a run's wait loop, every few milliseconds, with
// the running process, before its new dialogs are handled.
using ProcessWatcher = std::function<void(HANDLE process, DWORD processId)>;

// Presses OK on a message box and Cancel on anything else.
int pressDefaultButton(const DialogInfo& dialog);

struct RunResult {
    DWORD exitCode = 0;
    bool timedOut = false;
    std::vector<DialogInfo> dialogs;
    // What the process wrote to its standard output and error, when the run
    // captured them (runProcess with `captureOutput`).
    std::string standardOutput;
    std::string standardError;

    // The texts of the message boxes, in the order they appeared.
    std::vector<std::wstring> messageTexts() const;
};

// A scenario folder of its own for one test: a copy of the launcher under an
// application name, its ini file, and whatever else the test lays out.
class Scenario {
public:
    // A fresh, empty folder named after the running test.
    Scenario();
    explicit Scenario(const std::wstring& name);

    const std::wstring& folder() const { return folder_; }
    std::wstring path(const std::wstring& relative) const { return folder_ + L"\\" + relative; }

    // Copies an executable (the built launcher by default) into the folder.
    void installLauncher(const std::wstring& exeName = L"App.exe", const std::wstring& source = std::wstring()) const;
    // Writes a text file in the ANSI code page, lines joined with "\r\n".
    void writeText(const std::wstring& relative, const std::wstring& text) const;
    // Writes a text file as UTF-16LE with byte-order mark.
    void writeUtf16(const std::wstring& relative, const std::wstring& text) const;
    void writeBytes(const std::wstring& relative, const std::string& bytes) const;
    void createFolder(const std::wstring& relative) const;
    bool exists(const std::wstring& relative) const;
    std::string readBytes(const std::wstring& relative) const;

    // Starts the installed launcher with the given argument text (appended to
    // its quoted path), handles its dialogs, and waits up to `timeoutMs`.
    RunResult run(const std::wstring& arguments = std::wstring(), DWORD timeoutMs = 30000,
                  const DialogHandler& handler = pressDefaultButton,
                  const std::wstring& exeName = L"App.exe", const ProcessWatcher& watcher = nullptr) const;

private:
    std::wstring folder_;
};

// Starts a program and handles its dialogs; used by Scenario::run. With
// `captureOutput`, the program's standard output and error are pipes whose
// contents end up in the result; otherwise it inherits no handles. The
// standard error pipe is first read `errorReadDelayMs` after the start.
// As `errorReadDelayMs`: standard error is the standard output's pipe, so
// `standardOutput` holds both in the order they were written.
constexpr DWORD kErrorIntoOutput = INFINITE;
RunResult runProcess(const std::wstring& program, const std::wstring& commandLine, const std::wstring& workingFolder,
                     DWORD timeoutMs, const DialogHandler& handler, bool captureOutput = false,
                     const ProcessWatcher& watcher = nullptr, DWORD errorReadDelayMs = 0);

// Paths of the build tree, as Windows paths.
std::wstring buildPath(const std::wstring& relative);
std::wstring launcherPath();

// Removes a folder tree; missing folders are fine.
void removeTree(const std::wstring& folder);

// The bytes of a file; empty when it cannot be read.
std::string readFileBytes(const std::wstring& path);

// Wide text as UTF-8.
std::string utf8(const std::wstring& text);
