#pragma once
// Internals of the test Java runtime (jvm.dll): a tiny simulated Java world
// behind the JNI tables, steered by testruntime.cfg beside the library and
// recording every call the launcher makes in testruntime.log beside it.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "jni/jni.h"

// ---- text ----
std::string utf8FromUtf16(const std::u16string& text);
std::u16string utf16FromUtf8(const std::string& text);
// Java's modified UTF-8: U+0000 as two bytes, supplementary characters as two
// three-byte surrogates.
std::string modifiedUtf8FromUtf16(const std::u16string& text);
std::u16string utf16FromModifiedUtf8(const std::string& text);
std::string utf8FromWide(const std::wstring& text);

// ---- steering file: UTF-8 "key=value" lines, '#' starts a comment line ----
class Steering {
public:
    void parse(const std::string& text);
    std::string text(const std::string& key, const std::string& fallback = "") const;
    std::vector<std::string> all(const std::string& key) const;
    long long number(const std::string& key, long long fallback) const;
    bool yes(const std::string& key, bool fallback) const;

private:
    std::multimap<std::string, std::string> values_;
};

// ---- log: one "key=value" line per event, appended and written through at once ----
void openLog(const std::wstring& path);
void logLine(const std::string& key, const std::string& value);
std::string threadIdText();
// Microseconds from the creation of this process to now, for start-up benchmarks.
std::string elapsedSinceProcessStart();

// Writes text straight to the process's standard error handle, as a VM's own
// diagnostics bypass System.err; returns the bytes written.
std::size_t writeStandardError(const std::string& text);

// Full path of a loaded module (this DLL: its instance handle).
std::wstring modulePath(HINSTANCE instance);

// ---- the simulated Java world ----
struct JavaClass;
struct JavaObject;
using MethodImpl = jvalue (*)(JavaObject* self, const jvalue* args);

struct JavaMethod {
    std::string name;
    std::string signature;
    bool isStatic;
    MethodImpl impl;
    const JavaClass* owner;
};

struct JavaObject {
    const JavaClass* cls = nullptr;
    const JavaClass* classValue = nullptr;     // a java.lang.Class object: the class it stands for
    std::u16string text;                       // String, char[], Throwable message
    std::u16string trace;                      // Throwable: its "\tat ..." lines
    std::vector<JavaObject*> elements;         // Object[]
    std::string bytes;                         // ByteArrayOutputStream content
    HANDLE handle = INVALID_HANDLE_VALUE;      // FileOutputStream or a process standard stream
    JavaObject* target = nullptr;              // PrintStream: the stream it writes to
    std::string label;                         // streams: what they write to, for the log
};

struct JavaClass {
    std::string name;                          // slash form
    const JavaClass* super = nullptr;
    bool boot = true;                          // visible to JVM_FindClassFromBootLoader
    std::vector<JavaMethod> methods;
    JavaObject object;                         // the java.lang.Class instance for this class
};

extern Steering gSteering;

// Builds the classes from the steering file; called once by JNI_CreateJavaVM.
void createWorld();
const JavaClass* findClass(const std::string& name);
const JavaMethod* findMethod(const JavaClass* cls, const std::string& name, const std::string& sig, bool isStatic);
bool isInstance(const JavaObject* obj, const JavaClass* cls);
JavaObject* newObject(const JavaClass* cls);
JavaObject* newString(const std::u16string& text);
// Leaves a new exception of the class pending on the calling thread.
void throwNew(const std::string& className, const std::u16string& message);
JavaObject*& pendingException();
// Prints a Throwable as printStackTrace does, to a PrintStream.
void printStackTrace(JavaObject* throwable, JavaObject* printStream);
JavaObject* systemErr();
// Waits for every non-daemon thread the simulated program started.
void joinNonDaemonThreads();
// Runs the shutdown hook the steering file asks for (hook=yes logs it,
// hook=hang never returns), as the VM's end does.
void runShutdownHook();
// Ends the process as System.exit does: the shutdown hook, the exit hook,
// then ExitProcess.
[[noreturn]] void systemExit(jint code);
[[noreturn]] void fatalError(const std::string& message);

extern VmExitHook gExitHook;
extern VmAbortHook gAbortHook;

inline JavaObject* asObject(jobject ref) { return reinterpret_cast<JavaObject*>(ref); }
template <typename Ref>
Ref asRef(JavaObject* obj)
{
    return reinterpret_cast<Ref>(obj);
}
