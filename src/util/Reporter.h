#pragma once
#include <functional>
#include <optional>
#include <string>

#include "jni/jni.h"
#include "util/Failure.h"

// A runtime folder the user chose, and the JVM library found in it.
struct RuntimeChoice {
    std::wstring folder;            // ends with "\"
    std::wstring jvmLibraryPath;
};

// The JVM library a folder holds; empty when it holds none.
using RuntimeFolderProbe = std::function<std::wstring(const std::wstring& folder)>;

// What to do about an exception that escaped main.
enum class ExceptionChoice {
    Stop,      // end the application
    Continue,  // the user decided to go on
    NoDialog,  // nobody decided: the start reports the failure when it ends
};

// Everything the user sees of a start goes through one reporter, owned by
// the top of the launcher: each form of the launcher answers in its own way
// (windows, text on standard error, the service manager). Calls may come from
// the main thread and from the VM's thread.
class Reporter {
public:
    virtual ~Reporter() = default;

    // Tells the user why the start ends (a failure without a message shows
    // nothing).
    virtual void reportFailure(const Failure& failure) = 0;

    // The runtime ended the start before main without a failure of the
    // launcher's own: `failure` says so, with the runtime's words.
    virtual void reportStartRefused(const Failure& failure) = 0;

    // No runtime was found in `searched`: `message` says what the application
    // needs. The user may name a folder, which `probe` accepts or not;
    // nothing when the user gave none.
    virtual std::optional<RuntimeChoice> askForRuntime(const std::wstring& message, const std::wstring& searched,
                                                       const std::wstring& downloadPage,
                                                       const RuntimeFolderProbe& probe) = 0;

    // An exception escaped main; `trace` is its stack trace, or nothing when
    // the configuration asks for no dialog.
    virtual ExceptionChoice askAfterException(const std::optional<std::wstring>& trace) = 0;

    // Main is about to be called in `vm`, on the VM's thread. Only a form
    // that watches the application (the service) does anything here.
    virtual void reportMainBegins(JavaVM* vm) { static_cast<void>(vm); }

    // The start ends with `exitCode`: the launcher's own end, or the runtime
    // ending the process (System.exit, Runtime.halt), which follows at once.
    virtual void reportEnd(int exitCode) { static_cast<void>(exitCode); }
};
