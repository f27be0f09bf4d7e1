// Checks of the HotSpot bridge jvm.dll from the Windows side, the way a
// launcher uses it: load it by full path, create a VM, call Java through the
// JNI function table, end the VM.
//
// Each check starts this program again as a child ("--child <scenario>") with
// its standard output on a pipe, because what is checked (the exit code a
// Windows parent sees, output written by Java, the order in which the process
// ends) concerns a whole process.
#include <jni/jni.h>

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t* const kBridgeDll = HOTSPOT_BRIDGE_DLL;     // Windows path of jvm.dll
const wchar_t* const kProbeClasses = HOTSPOT_PROBE_CLASSES;  // Windows path of BridgeProbe.class's folder
const char* const kProbeClassesUnix = HOTSPOT_PROBE_CLASSES_UNIX;

// ---------------------------------------------------------------- child side

void say(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string narrow(const std::wstring& text, UINT codePage) {
    const int length = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, &result[0], length, nullptr, nullptr);
    result.resize(static_cast<size_t>(length) - 1);
    return result;
}

std::wstring backslashes(std::wstring path) {
    for (auto& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

// A path in the ANSI code page as a launcher passes it: as it is when it
// converts exactly, else in its short form (the build tree may lie in a
// folder whose name the code page cannot carry).
std::string ansiPath(const std::wstring& path) {
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (!lossy) return narrow(path, CP_ACP);
    std::wstring shortPath(GetShortPathNameW(path.c_str(), nullptr, 0), L'\0');
    shortPath.resize(GetShortPathNameW(path.c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size())));
    return narrow(shortPath, CP_ACP);
}

void JNICALL exitHook(jint code) {
    say("exit hook " + std::to_string(code));
}

void JNICALL abortHook() {
    say("abort hook");
}

template <typename Function>
Function exported(HMODULE dll, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

struct Bridge {
    HMODULE dll = nullptr;
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
};

// Loads the bridge and creates a VM with the probe's class path, a property in
// the ANSI code page, the exit and abort hooks and the given extra options.
jint createVm(Bridge& bridge, const std::vector<std::string>& extraOptions) {
    bridge.dll = LoadLibraryW(kBridgeDll);
    if (bridge.dll == nullptr) {
        say("cannot load bridge, error " + std::to_string(GetLastError()));
        return JNI_ERR;
    }
    auto create = exported<CreateJavaVmFunction>(bridge.dll, "JNI_CreateJavaVM");
    std::vector<std::string> strings{
        "-Djava.class.path=" + ansiPath(backslashes(kProbeClasses)) + ";missing\\extra.jar",
        "-Djava.library.path=.",
        "-Dprobe.greeting=" + narrow(L"Gr\u00fc\u00dfe", CP_ACP),
        "-Xss1m",
    };
    strings.insert(strings.end(), extraOptions.begin(), extraOptions.end());
    std::vector<JavaVMOption> options;
    for (auto& s : strings) options.push_back(JavaVMOption{&s[0], nullptr});
    options.push_back(JavaVMOption{const_cast<char*>("exit"), reinterpret_cast<void*>(&exitHook)});
    options.push_back(JavaVMOption{const_cast<char*>("abort"), reinterpret_cast<void*>(&abortHook)});
    JavaVMInitArgs args{JNI_VERSION_1_8, static_cast<jint>(options.size()), options.data(), JNI_FALSE};
    return create(&bridge.vm, reinterpret_cast<void**>(&bridge.env), &args);
}

// Calls BridgeProbe.main with the given arguments, as a launcher does.
bool callMain(JNIEnv* env, const std::vector<std::wstring>& arguments) {
    jclass probe = env->FindClass("BridgeProbe");
    jmethodID main = probe ? env->GetStaticMethodID(probe, "main", "([Ljava/lang/String;)V") : nullptr;
    jclass stringClass = env->FindClass("java/lang/String");
    if (main == nullptr || stringClass == nullptr) {
        env->ExceptionDescribe();
        return false;
    }
    jobjectArray array = env->NewObjectArray(static_cast<jsize>(arguments.size()), stringClass, nullptr);
    for (size_t i = 0; i < arguments.size(); ++i) {
        static_assert(sizeof(wchar_t) == sizeof(jchar), "UTF-16 on Windows");
        jstring s = env->NewString(reinterpret_cast<const jchar*>(arguments[i].c_str()),
                                   static_cast<jsize>(arguments[i].size()));
        env->SetObjectArrayElement(array, static_cast<jsize>(i), s);
    }
    env->functions->CallStaticVoidMethod(env, probe, main, array);
    if (env->ExceptionCheck()) {
        env->ExceptionDescribe();
        return false;
    }
    return true;
}

std::string utf8Of(JNIEnv* env, jobject string) {
    if (string == nullptr) return "<null>";
    const char* chars = env->GetStringUTFChars(static_cast<jstring>(string), nullptr);
    std::string result = chars;
    env->ReleaseStringUTFChars(static_cast<jstring>(string), chars);
    return result;
}

// Variadic calls (decoded by the bridge from the Windows va_list), their
// va_list forms (through the header's member functions), the reflection path
// for a method ID the bridge never saw being looked up, the boot loader export,
// and a second Windows thread attaching.
void reportCalls(Bridge& bridge) {
    JNIEnv* env = bridge.env;
    jclass probe = env->FindClass("BridgeProbe");
    jmethodID describe = env->GetStaticMethodID(
        probe, "describe", "(IJDFZCSBLjava/lang/String;)Ljava/lang/String;");
    jstring text = env->NewStringUTF("t");
    jobject variadic = env->functions->CallStaticObjectMethod(
        env, probe, describe, jint(42), jlong(-5000000000LL), 2.5, jfloat(1.5f), jboolean(JNI_TRUE),
        jchar(0x20AC), jshort(-7), jbyte(-8), text);
    say("describe variadic=" + utf8Of(env, variadic));
    jobject viaVaList = env->CallStaticObjectMethod(probe, describe, jint(-1), jlong(1), -0.5, jfloat(8.0f),
                                                    jboolean(JNI_FALSE), jchar(65), jshort(300), jbyte(127), text);
    say("describe va_list=" + utf8Of(env, viaVaList));

    jmethodID constructor = env->GetMethodID(probe, "<init>", "(I)V");
    jobject instance = env->NewObject(probe, constructor, jint(100));
    jmethodID plus = env->GetMethodID(probe, "plus", "(IJ)I");
    say("plus=" + std::to_string(env->functions->CallIntMethod(env, instance, plus, jint(20), jlong(3))));

    // A method ID from reflection: the bridge has to ask Java for its signature.
    jclass classClass = env->FindClass("java/lang/Class");
    jmethodID getMethod =
        env->GetMethodID(classClass, "getMethod", "(Ljava/lang/String;[Ljava/lang/Class;)Ljava/lang/reflect/Method;");
    jclass integerClass = env->FindClass("java/lang/Integer");
    jclass longClass = env->FindClass("java/lang/Long");
    jfieldID intType = env->GetStaticFieldID(integerClass, "TYPE", "Ljava/lang/Class;");
    jfieldID longType = env->GetStaticFieldID(longClass, "TYPE", "Ljava/lang/Class;");
    jobjectArray types = env->NewObjectArray(2, classClass, nullptr);
    env->SetObjectArrayElement(types, 0, env->GetStaticObjectField(integerClass, intType));
    env->SetObjectArrayElement(types, 1, env->GetStaticObjectField(longClass, longType));
    jvalue lookup[2];
    lookup[0].l = env->NewStringUTF("plus");
    lookup[1].l = types;
    jobject reflected = env->CallObjectMethodA(probe, getMethod, lookup);
    jmethodID plusByReflection = env->FromReflectedMethod(reflected);
    say("plus by reflection=" +
        std::to_string(env->functions->CallIntMethod(env, instance, plusByReflection, jint(1), jlong(2))));

    auto findBootClass = exported<FindClassFromBootLoaderFunction>(bridge.dll, "JVM_FindClassFromBootLoader");
    say(std::string("boot class ") +
        (findBootClass(env, "sun/launcher/LauncherHelper") != nullptr ? "found" : "missing"));

    auto getCreated = exported<GetCreatedJavaVmsFunction>(bridge.dll, "JNI_GetCreatedJavaVMs");
    JavaVM* created[2] = {};
    jsize count = 0;
    getCreated(created, 2, &count);
    say("created vms=" + std::to_string(count) + " same=" + std::to_string(created[0] == bridge.vm));

    JavaVM* fromEnv = nullptr;
    env->GetJavaVM(&fromEnv);
    say(std::string("GetJavaVM same=") + std::to_string(fromEnv == bridge.vm));

    std::string attached;
    std::thread other([&] {
        JNIEnv* otherEnv = nullptr;
        if (bridge.vm->AttachCurrentThread(reinterpret_cast<void**>(&otherEnv), nullptr) != JNI_OK) {
            attached = "attach failed";
            return;
        }
        JNIEnv* again = nullptr;
        bridge.vm->GetEnv(reinterpret_cast<void**>(&again), JNI_VERSION_1_8);
        jclass found = otherEnv->FindClass("BridgeProbe");
        attached = std::string("other thread env ") + (again == otherEnv ? "stable" : "changed") +
                   ", class " + (found != nullptr ? "found" : "missing") +
                   ", detach " + std::to_string(bridge.vm->DetachCurrentThread());
    });
    other.join();
    say(attached);
}

// Registered as BridgeProbe.combine: a Windows function called by HotSpot.
jstring JNICALL combine(JNIEnv* env, jclass, jint i, jlong j, jdouble d, jfloat f, jboolean z, jstring text) {
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, "%ld|%lld|%g|%g|%d|", static_cast<long>(i), static_cast<long long>(j), d,
                  static_cast<double>(f), z);
    return env->NewStringUTF((buffer + utf8Of(env, text)).c_str());
}

int runChild(const std::wstring& scenario, const std::vector<std::wstring>& arguments) {
    Bridge bridge;
    std::vector<std::string> extraOptions;
    if (scenario == L"badoption") extraOptions.push_back("-XX:+NoSuchBridgeCheckOption");
    if (scenario == L"abort") extraOptions = {"-Xms64m", "-Xmx32m"};
    const jint created = createVm(bridge, extraOptions);
    say("create=" + std::to_string(created));
    if (created != JNI_OK) return 0;
    if (scenario == L"calls") {
        reportCalls(bridge);
    } else {
        if (scenario == L"native") {
            JNINativeMethod method{const_cast<char*>("combine"),
                                   const_cast<char*>("(IJDFZLjava/lang/String;)Ljava/lang/String;"),
                                   reinterpret_cast<void*>(&combine)};
            jclass probe = bridge.env->FindClass("BridgeProbe");
            say("register=" + std::to_string(bridge.env->RegisterNatives(probe, &method, 1)));
        }
        std::vector<std::wstring> mainArguments{scenario};
        mainArguments.insert(mainArguments.end(), arguments.begin(), arguments.end());
        if (!callMain(bridge.env, mainArguments)) say("main failed");
    }
    say("destroyed " + std::to_string(bridge.vm->DestroyJavaVM()));
    return 0;
}

// --------------------------------------------------------------- parent side

struct ChildRun {
    bool finished = false;
    DWORD exitCode = 0;
    std::string output;
    double seconds = 0;
};

std::wstring quoted(const std::wstring& argument) {
    return L"\"" + argument + L"\"";
}

ChildRun runScenario(const std::wstring& scenario, const std::vector<std::wstring>& arguments = {}) {
    ChildRun run;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = quoted(self) + L" --child " + scenario;
    for (const auto& a : arguments) command += L" " + quoted(a);

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    const ULONGLONG start = GetTickCount64();
    // The child runs in the probe's class folder: its relative class path
    // entry and library path resolve against it.
    const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        kProbeClasses, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return run;
    }
    std::thread reader([&] {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) run.output.append(buffer, got);
    });
    run.finished = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    if (!run.finished) TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    run.seconds = static_cast<double>(GetTickCount64() - start) / 1000.0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    reader.join();
    CloseHandle(readEnd);
    return run;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Position of a line in the output, or npos.
size_t lineAt(const std::string& output, const std::string& line) {
    return output.find(line + "\n");
}

#define EXPECT_LINE(run, line) EXPECT_NE(lineAt((run).output, line), std::string::npos) << (run).output

TEST(HotSpotBridge, PassesUnicodeArgumentsPropertiesAndUnixPathListsToJava) {
    const std::wstring argument = L"Gr\u00fc\u00dfe-\u20ac-\u65e5\u672c-\U0001F600";
    const ChildRun run = runScenario(L"echo", {argument, L"two words"});
    ASSERT_TRUE(run.finished) << run.output;
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_LINE(run, "create=0");
    EXPECT_LINE(run, "arg=Gr\u00fc\u00dfe-\u20ac-\u65e5\u672c-\U0001F600 codes: 47 72 fc df 65 2d 20ac 2d 65e5 672c 2d 1f600");
    EXPECT_LINE(run, "arg=two words codes: 74 77 6f 20 77 6f 72 64 73");
    const std::string classes = kProbeClassesUnix;
    EXPECT_LINE(run, "class.path=" + classes + ":" + classes + "/missing/extra.jar");
    EXPECT_LINE(run, "library.path=" + classes);
    EXPECT_LINE(run, "greeting=Gr\u00fc\u00dfe");
    EXPECT_LINE(run, "destroyed 0");
    std::printf("VM start, call and end took %.2f s\n", run.seconds);
}

TEST(HotSpotBridge, TranslatesCallsFromWindowsToHotSpot) {
    const ChildRun run = runScenario(L"calls");
    ASSERT_TRUE(run.finished) << run.output;
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_LINE(run, "describe variadic=42|-5000000000|2.5|1.5|true|8364|-7|-8|t");
    EXPECT_LINE(run, "describe va_list=-1|1|-0.5|8.0|false|65|300|127|t");
    EXPECT_LINE(run, "plus=123");
    EXPECT_LINE(run, "plus by reflection=103");
    EXPECT_LINE(run, "boot class found");
    EXPECT_LINE(run, "created vms=1 same=1");
    EXPECT_LINE(run, "GetJavaVM same=1");
    EXPECT_LINE(run, "other thread env stable, class found, detach 0");
    EXPECT_LINE(run, "destroyed 0");
}

TEST(HotSpotBridge, CallsRegisteredWindowsNativesWithTheirArguments) {
    const ChildRun run = runScenario(L"native");
    ASSERT_TRUE(run.finished) << run.output;
    EXPECT_LINE(run, "register=0");
    EXPECT_LINE(run, "native=7|1099511627776|2.5|0.25|1|Gr\u00fc\u00dfe");
    EXPECT_LINE(run, "destroyed 0");
}

TEST(HotSpotBridge, SystemExitEndsTheProcessWithItsCodeAfterTheExitHook) {
    const ChildRun run = runScenario(L"exit", {L"3"});
    ASSERT_TRUE(run.finished) << run.output;
    EXPECT_EQ(run.exitCode, 3u) << run.output;
    EXPECT_LINE(run, "exiting with 3");
    EXPECT_LINE(run, "exit hook 3");
    EXPECT_EQ(lineAt(run.output, "destroyed 0"), std::string::npos) << run.output;
}

TEST(HotSpotBridge, DestroyJavaVmWaitsForNonDaemonThreads) {
    const ChildRun run = runScenario(L"worker", {L"800"});
    ASSERT_TRUE(run.finished) << run.output;
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    const size_t returned = lineAt(run.output, "main returns");
    const size_t finished = lineAt(run.output, "worker finished");
    const size_t destroyed = lineAt(run.output, "destroyed 0");
    ASSERT_NE(returned, std::string::npos) << run.output;
    ASSERT_NE(finished, std::string::npos) << run.output;
    ASSERT_NE(destroyed, std::string::npos) << run.output;
    EXPECT_LT(returned, finished) << run.output;
    EXPECT_LT(finished, destroyed) << run.output;
}

TEST(HotSpotBridge, ReportsVmStartFailures) {
    // An unknown option comes back as a JNI error code.
    const ChildRun unknown = runScenario(L"badoption");
    ASSERT_TRUE(unknown.finished) << unknown.output;
    EXPECT_EQ(unknown.exitCode, 0u) << unknown.output;
    EXPECT_TRUE(contains(unknown.output, "create=-1\n") || contains(unknown.output, "create=-6\n")) << unknown.output;
    // HotSpot's complaint (on System.err) reaches the Windows handle before
    // the caller goes on.
    const size_t complaint = unknown.output.find("Unrecognized VM option 'NoSuchBridgeCheckOption'");
    ASSERT_NE(complaint, std::string::npos) << unknown.output;
    EXPECT_LT(complaint, unknown.output.find("create=")) << unknown.output;

    // Options HotSpot accepts but cannot honour end the process through the
    // abort hook, with exit code 1.
    const ChildRun impossible = runScenario(L"abort");
    ASSERT_TRUE(impossible.finished) << impossible.output;
    EXPECT_EQ(impossible.exitCode, 1u) << impossible.output;
    EXPECT_LINE(impossible, "abort hook");
    const size_t initError = impossible.output.find("Error occurred during initialization of VM");
    ASSERT_NE(initError, std::string::npos) << impossible.output;
    EXPECT_LT(initError, lineAt(impossible.output, "abort hook")) << impossible.output;
    EXPECT_EQ(lineAt(impossible.output, "create=0"), std::string::npos) << impossible.output;

    // HotSpot cannot start on Wine's initial thread: an error, not a crash.
    const ChildRun initial = runScenario(L"initial-thread");
    ASSERT_TRUE(initial.finished) << initial.output;
    EXPECT_EQ(initial.exitCode, 0u) << initial.output;
    EXPECT_LINE(initial, "create=-1");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"--child") {
        if (std::wstring(argv[2]) == L"initial-thread") return runChild(argv[2], {});
        // Like a launcher, run the VM on a thread of its own.
        int result = 0;
        std::thread vmThread([&] { result = runChild(argv[2], std::vector<std::wstring>(argv + 3, argv + argc)); });
        vmThread.join();
        return result;
    }
    // The children's Java runs in a UTF-8 locale (its default charset, used for
    // System.out) with the JDK the bridge was built for. Wine hands this
    // environment on to the children's Unix side.
    SetEnvironmentVariableW(L"LC_ALL", L"C.UTF-8");
    SetEnvironmentVariableA("JAVA_HOME", HOTSPOT_JAVA_HOME);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
