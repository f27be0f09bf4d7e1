// The simulated Java classes of the test runtime and what their methods do.
#include <algorithm>
#include <memory>
#include <mutex>

#include "StandardErrorText.h"
#include "TestRuntime.h"

Steering gSteering;
VmExitHook gExitHook = nullptr;
VmAbortHook gAbortHook = nullptr;

namespace {

std::vector<std::unique_ptr<JavaClass>> gClasses;
std::mutex gStreamMutex;
JavaObject* gSystemOut = nullptr;
JavaObject* gSystemErr = nullptr;
std::mutex gThreadMutex;
std::vector<HANDLE> gThreads;
thread_local JavaObject* tPending = nullptr;
// Set by a stop method that lets main return (main.untilstop).
HANDLE gStopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
JavaObject* gRuntime = nullptr;

std::string dotted(std::string name)
{
    for (char& c : name) {
        c = c == '/' ? '.' : c;
    }
    return name;
}

std::u16string textOf(jobject ref) { return ref ? asObject(ref)->text : u"null"; }

void writeBytes(JavaObject* stream, const std::string& bytes)
{
    std::lock_guard<std::mutex> lock(gStreamMutex);
    JavaObject* sink = stream;
    while (sink && sink->target) {
        sink = sink->target;
    }
    if (!sink) {
        return;
    }
    if (sink->handle != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(sink->handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    } else {
        sink->bytes += bytes;
    }
}

// Lines end with "\r\n", the line separator of a Java runtime on Windows.
void println(JavaObject* printStream, const std::u16string& line) { writeBytes(printStream, utf8FromUtf16(line) + "\r\n"); }

jvalue none() { return jvalue{}; }

jvalue stringInit(JavaObject* self, const jvalue* args)
{
    if (!args[0].l) {
        throwNew("java/lang/NullPointerException", u"");
        return none();
    }
    self->text = asObject(args[0].l)->text;
    return none();
}

jvalue setStream(JavaObject*& slot, const char* event, const jvalue* args)
{
    slot = asObject(args[0].l);
    logLine(event, slot ? slot->label : "null");
    return none();
}

jvalue systemSetOut(JavaObject*, const jvalue* args) { return setStream(gSystemOut, "setout", args); }
jvalue systemSetErr(JavaObject*, const jvalue* args) { return setStream(gSystemErr, "seterr", args); }
jvalue systemExitMethod(JavaObject*, const jvalue* args) { systemExit(args[0].i); }

jvalue fileStreamInit(JavaObject* self, const jvalue* args)
{
    if (!args[0].l) {
        throwNew("java/lang/NullPointerException", u"");
        return none();
    }
    std::u16string path = asObject(args[0].l)->text;
    bool append = args[1].z != 0;
    std::wstring widePath(path.begin(), path.end());
    self->handle = CreateFileW(widePath.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    self->label = utf8FromUtf16(path);
    if (self->handle == INVALID_HANDLE_VALUE) {
        logLine("fileopen.failed", self->label);
        throwNew("java/io/FileNotFoundException", path + u" (cannot open the file)");
        return none();
    }
    logLine("fileopen", std::string(append ? "1 " : "0 ") + self->label);
    return none();
}

jvalue printStreamInit(JavaObject* self, const jvalue* args)
{
    if (!args[0].l) {
        throwNew("java/lang/NullPointerException", u"");
        return none();
    }
    self->target = asObject(args[0].l);
    self->label = self->target->label;
    return none();
}

jvalue printStreamPrintln(JavaObject* self, const jvalue* args)
{
    println(self, textOf(args[0].l));
    return none();
}

jvalue byteStreamInit(JavaObject* self, const jvalue*)
{
    self->label = "bytes";
    return none();
}

jvalue byteStreamToString(JavaObject* self, const jvalue*)
{
    jvalue result{};
    result.l = asRef<jobject>(newString(utf16FromUtf8(self->bytes)));
    return result;
}

jvalue throwablePrintStackTrace(JavaObject* self, const jvalue* args)
{
    printStackTrace(self, asObject(args[0].l));
    return none();
}

jvalue checkAndLoadMain(JavaObject*, const jvalue* args)
{
    std::string name = utf8FromUtf16(textOf(args[2].l));
    logLine("checkandloadmain", std::to_string(args[0].z) + " " + std::to_string(args[1].i) + " " + name);
    jvalue result{};
    const JavaClass* mainClass = findClass(gSteering.text("mainclass", "app/Main"));
    if (mainClass && dotted(mainClass->name) == name) {
        result.l = asRef<jobject>(const_cast<JavaObject*>(&mainClass->object));
    } else if (args[0].z) {
        println(gSystemErr, u"Error: Could not find or load main class " + utf16FromUtf8(name));
    }
    // What a real launcher helper does with a class it cannot use: it
    // complains on System.err and ends the process before main begins.
    for (const auto& line : gSteering.all("prestart.err")) {
        logLine("prestart.err", line);
        println(gSystemErr, utf16FromUtf8(line));
    }
    if (!gSteering.text("prestart.exit").empty()) {
        auto code = static_cast<jint>(gSteering.number("prestart.exit", 0));
        logLine("prestart.exit", std::to_string(code));
        systemExit(code);
    }
    return result;
}

DWORD WINAPI nonDaemonThread(void* millis)
{
    auto ms = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(millis));
    logLine("thread.start", std::to_string(ms));
    Sleep(ms);
    logLine("thread.end", std::to_string(ms));
    if (!gSteering.text("main.thread.exit").empty()) {
        systemExit(static_cast<jint>(gSteering.number("main.thread.exit", 0)));
    }
    return 0;
}

std::vector<std::u16string> logArguments(const char* prefix, const jvalue* args)
{
    std::string p(prefix);
    logLine(p + ".thread", threadIdText());
    JavaObject* array = asObject(args[0].l);
    std::vector<std::u16string> texts;
    if (!array) {
        logLine(p + ".argc", "null");
        return texts;
    }
    logLine(p + ".argc", std::to_string(array->elements.size()));
    for (JavaObject* element : array->elements) {
        texts.push_back(element ? element->text : u"null");
        logLine(p == "main" ? "arg" : p + ".arg", utf8FromUtf16(texts.back()));
    }
    return texts;
}

// main: logs and prints its arguments, writes the configured lines, starts the
// non-daemon thread, then ends by returning, System.exit or an exception.
jvalue mainMethod(JavaObject*, const jvalue* args)
{
    std::vector<std::u16string> arguments = logArguments("main", args);
    if (gSteering.yes("main.printargs", true)) {
        for (const auto& argument : arguments) {
            println(gSystemOut, argument);
        }
    }
    for (const auto& line : gSteering.all("main.out")) {
        println(gSystemOut, utf16FromUtf8(line));
    }
    for (const auto& line : gSteering.all("main.err")) {
        println(gSystemErr, utf16FromUtf8(line));
    }
    if (long long size = std::min<long long>(gSteering.number("main.errbytes", 0), 64ll << 20); size > 0) {
        logLine("main.errbytes", std::to_string(writeStandardError(standardErrorText(static_cast<std::size_t>(size)))));
    }
    if (long long ms = gSteering.number("main.thread", 0); ms > 0) {
        std::lock_guard<std::mutex> lock(gThreadMutex);
        gThreads.push_back(CreateThread(nullptr, 0, nonDaemonThread, reinterpret_cast<void*>(ms), 0, nullptr));
    }
    Sleep(static_cast<DWORD>(gSteering.number("main.sleep", 0)));
    if (gSteering.yes("main.untilstop", false)) {
        WaitForSingleObject(gStopEvent, INFINITE);
    }
    if (!gSteering.text("main.exit").empty()) {
        systemExit(static_cast<jint>(gSteering.number("main.exit", 0)));
    }
    if (!gSteering.all("main.throw").empty()) {
        std::string cls = gSteering.text("main.throw.class", "java/lang/IllegalStateException");
        throwNew(cls, utf16FromUtf8(gSteering.text("main.throw")));
        std::string main = gSteering.text("mainclass", "app/Main");
        std::string simple = main.substr(main.rfind('/') + 1);
        tPending->trace = utf16FromUtf8("\tat " + dotted(main) + ".run(" + simple + ".java:12)\r\n\tat " + dotted(main)
            + ".main(" + simple + ".java:5)");
    }
    return none();
}

jvalue secondaryMain(JavaObject*, const jvalue* args)
{
    logArguments("secondary", args);
    jvalue result{};
    result.i = static_cast<jint>(gSteering.number("secondary.result", 0));
    return result;
}

// The service's stop method: logs how it was called, then ends the VM with
// System.exit (stop.exit), never returns (stop.hang) or lets main return.
jvalue stopMethod(JavaObject*, const jvalue* args)
{
    if (gSteering.text("stop") == "args") {
        logArguments("stop", args);
    } else {
        logLine("stop.thread", threadIdText());
    }
    if (!gSteering.text("stop.exit").empty()) {
        systemExit(static_cast<jint>(gSteering.number("stop.exit", 0)));
    }
    if (gSteering.yes("stop.hang", false)) {
        Sleep(INFINITE);
    }
    SetEvent(gStopEvent);
    return none();
}

jvalue runtimeGetRuntime(JavaObject*, const jvalue*)
{
    jvalue result{};
    result.l = asRef<jobject>(gRuntime);
    return result;
}

// Runtime.exit: System.exit.
jvalue runtimeExit(JavaObject*, const jvalue* args) { systemExit(args[0].i); }

// Runtime.halt: ends the process without the shutdown hook.
jvalue runtimeHalt(JavaObject*, const jvalue* args)
{
    logLine("runtime.halt", std::to_string(args[0].i));
    if (gExitHook) {
        gExitHook(args[0].i);
    }
    ExitProcess(static_cast<UINT>(args[0].i));
}

JavaMethod method(const char* name, const char* sig, bool isStatic, MethodImpl impl)
{
    return JavaMethod{name, sig, isStatic, impl, nullptr};
}

JavaClass* addClass(const std::string& name, const std::string& super, std::vector<JavaMethod> methods = {})
{
    auto cls = std::make_unique<JavaClass>();
    cls->name = name;
    cls->super = super.empty() ? nullptr : findClass(super);
    cls->methods = std::move(methods);
    for (auto& m : cls->methods) {
        m.owner = cls.get();
    }
    cls->object.classValue = cls.get();
    gClasses.push_back(std::move(cls));
    return gClasses.back().get();
}

JavaObject* nativeStream(DWORD which, const char* label)
{
    JavaObject* file = newObject(findClass("java/io/FileOutputStream"));
    file->handle = GetStdHandle(which);
    file->handle = file->handle ? file->handle : INVALID_HANDLE_VALUE;
    file->label = label;
    JavaObject* print = newObject(findClass("java/io/PrintStream"));
    print->target = file;
    print->label = label;
    return print;
}

} // namespace

void createWorld()
{
    const std::string object = "java/lang/Object";
    addClass(object, "");
    addClass("java/lang/Class", object);
    addClass("[C", object);
    addClass("[Ljava/lang/Object;", object);
    addClass("java/lang/String", object, {method("<init>", "([C)V", false, stringInit)});
    addClass("java/lang/System", object,
        {method("setOut", "(Ljava/io/PrintStream;)V", true, systemSetOut),
            method("setErr", "(Ljava/io/PrintStream;)V", true, systemSetErr),
            method("exit", "(I)V", true, systemExitMethod)});
    addClass("java/lang/Throwable", object,
        {method("printStackTrace", "(Ljava/io/PrintStream;)V", false, throwablePrintStackTrace)});
    const char* throwables[][2] = {{"java/lang/Exception", "java/lang/Throwable"},
        {"java/lang/RuntimeException", "java/lang/Exception"}, {"java/lang/IllegalStateException", "java/lang/RuntimeException"},
        {"java/lang/NullPointerException", "java/lang/RuntimeException"},
        {"java/lang/ArrayIndexOutOfBoundsException", "java/lang/RuntimeException"}, {"java/lang/Error", "java/lang/Throwable"},
        {"java/lang/NoClassDefFoundError", "java/lang/Error"}, {"java/lang/NoSuchMethodError", "java/lang/Error"},
        {"java/io/IOException", "java/lang/Exception"}, {"java/io/FileNotFoundException", "java/io/IOException"}};
    for (const auto& [name, super] : throwables) {
        addClass(name, super);
    }
    addClass("java/io/OutputStream", object);
    addClass("java/io/FileOutputStream", "java/io/OutputStream",
        {method("<init>", "(Ljava/lang/String;Z)V", false, fileStreamInit)});
    addClass("java/io/ByteArrayOutputStream", "java/io/OutputStream",
        {method("<init>", "()V", false, byteStreamInit), method("toString", "()Ljava/lang/String;", false, byteStreamToString)});
    addClass("java/io/PrintStream", "java/io/OutputStream",
        {method("<init>", "(Ljava/io/OutputStream;)V", false, printStreamInit),
            method("println", "(Ljava/lang/String;)V", false, printStreamPrintln)});
    // "nocheck": an older runtime whose LauncherHelper has checkAndLoadMain only with another signature.
    const bool olderHelper = gSteering.text("launcherhelper") == "nocheck";
    if (olderHelper || gSteering.yes("launcherhelper", true)) {
        addClass("sun/launcher/LauncherHelper", object,
            {method("checkAndLoadMain",
                olderHelper ? "(ZZLjava/lang/String;)Ljava/lang/Object;" : "(ZILjava/lang/String;)Ljava/lang/Class;", true,
                checkAndLoadMain)});
    }
    std::string thrown = gSteering.text("main.throw.class", "java/lang/IllegalStateException");
    if (!findClass(thrown)) {
        addClass(thrown, "java/lang/RuntimeException");
    }
    std::vector<JavaMethod> mainMethods;
    if (gSteering.yes("main", true)) {
        mainMethods.push_back(method("main", "([Ljava/lang/String;)V", true, mainMethod));
    }
    std::string secondary = gSteering.text("secondary", "none");
    if (secondary == "void" || secondary == "int") {
        mainMethods.push_back(
            method("secondaryMain", secondary == "void" ? "([Ljava/lang/String;)V" : "([Ljava/lang/String;)I", true, secondaryMain));
    }
    std::string stop = gSteering.text("stop", "none");
    if (stop == "void" || stop == "args") {
        mainMethods.push_back(method("stop", stop == "void" ? "()V" : "([Ljava/lang/String;)V", true, stopMethod));
    }
    addClass(gSteering.text("mainclass", "app/Main"), object, std::move(mainMethods))->boot = false;
    gRuntime = newObject(addClass("java/lang/Runtime", object,
        {method("getRuntime", "()Ljava/lang/Runtime;", true, runtimeGetRuntime),
            method("exit", "(I)V", false, runtimeExit), method("halt", "(I)V", false, runtimeHalt)}));
    const JavaClass* classClass = findClass("java/lang/Class");
    for (auto& cls : gClasses) {
        cls->object.cls = classClass;
    }
    gSystemOut = nativeStream(STD_OUTPUT_HANDLE, "stdout");
    gSystemErr = nativeStream(STD_ERROR_HANDLE, "stderr");
}

const JavaClass* findClass(const std::string& name)
{
    for (const auto& cls : gClasses) {
        if (cls->name == name) {
            return cls.get();
        }
    }
    return nullptr;
}

const JavaMethod* findMethod(const JavaClass* cls, const std::string& name, const std::string& sig, bool isStatic)
{
    for (; cls; cls = cls->super) {
        for (const auto& m : cls->methods) {
            if (m.name == name && m.signature == sig && m.isStatic == isStatic) {
                return &m;
            }
        }
    }
    return nullptr;
}

bool isInstance(const JavaObject* obj, const JavaClass* cls)
{
    for (const JavaClass* c = obj ? obj->cls : nullptr; c; c = c->super) {
        if (c == cls) {
            return true;
        }
    }
    return false;
}

JavaObject* newObject(const JavaClass* cls)
{
    auto* obj = new JavaObject;
    obj->cls = cls;
    return obj;
}

JavaObject* newString(const std::u16string& text)
{
    JavaObject* obj = newObject(findClass("java/lang/String"));
    obj->text = text;
    return obj;
}

void throwNew(const std::string& className, const std::u16string& message)
{
    const JavaClass* cls = findClass(className);
    tPending = newObject(cls ? cls : findClass("java/lang/Throwable"));
    tPending->text = message;
}

JavaObject*& pendingException() { return tPending; }

void printStackTrace(JavaObject* throwable, JavaObject* printStream)
{
    std::u16string head = utf16FromUtf8(dotted(throwable->cls->name));
    println(printStream, throwable->text.empty() ? head : head + u": " + throwable->text);
    if (!throwable->trace.empty()) {
        println(printStream, throwable->trace);
    }
}

JavaObject* systemErr() { return gSystemErr; }

void joinNonDaemonThreads()
{
    std::vector<HANDLE> threads;
    {
        std::lock_guard<std::mutex> lock(gThreadMutex);
        threads.swap(gThreads);
    }
    for (HANDLE thread : threads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
}

void runShutdownHook()
{
    const std::string hook = gSteering.text("hook", "none");
    if (hook == "yes" || hook == "hang") {
        logLine("hook", threadIdText());
    }
    if (hook == "hang") {
        Sleep(INFINITE);
    }
}

void systemExit(jint code)
{
    logLine("system.exit", std::to_string(code));
    runShutdownHook();
    if (gExitHook) {
        logLine("exithook", std::to_string(code));
        gExitHook(code);
    }
    ExitProcess(static_cast<UINT>(code));
}

// Exit code of a process that the runtime ended through a fatal error.
constexpr UINT kFatalExitCode = 134;

void fatalError(const std::string& message)
{
    logLine("fatal", message);
    if (gAbortHook) {
        logLine("aborthook", "called");
        gAbortHook();
    }
    ExitProcess(kFatalExitCode);
}
