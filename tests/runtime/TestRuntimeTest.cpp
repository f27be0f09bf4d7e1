// Checks of the test Java runtime: the JNI layouts it shares with the launcher,
// its export variants, and the simulated Java world driven the way a launcher
// drives a real runtime.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <functional>
#include <optional>

#include "TestRuntimeControl.h"
#include "jni/jni.h"

// Slot and field positions of the standard JNI structures on 64-bit Windows.
constexpr std::size_t kSlot = sizeof(void*);
static_assert(offsetof(JNINativeInterface_, GetVersion) == 4 * kSlot);
static_assert(offsetof(JNINativeInterface_, FindClass) == 6 * kSlot);
static_assert(offsetof(JNINativeInterface_, ExceptionOccurred) == 15 * kSlot);
static_assert(offsetof(JNINativeInterface_, NewObject) == 28 * kSlot);
static_assert(offsetof(JNINativeInterface_, GetMethodID) == 33 * kSlot);
static_assert(offsetof(JNINativeInterface_, CallVoidMethod) == 61 * kSlot);
static_assert(offsetof(JNINativeInterface_, GetStaticMethodID) == 113 * kSlot);
static_assert(offsetof(JNINativeInterface_, CallStaticObjectMethod) == 114 * kSlot);
static_assert(offsetof(JNINativeInterface_, CallStaticIntMethod) == 129 * kSlot);
static_assert(offsetof(JNINativeInterface_, CallStaticVoidMethod) == 141 * kSlot);
static_assert(offsetof(JNINativeInterface_, NewStringUTF) == 167 * kSlot);
static_assert(offsetof(JNINativeInterface_, GetStringUTFChars) == 169 * kSlot);
static_assert(offsetof(JNINativeInterface_, NewObjectArray) == 172 * kSlot);
static_assert(offsetof(JNINativeInterface_, NewCharArray) == 177 * kSlot);
static_assert(offsetof(JNINativeInterface_, SetCharArrayRegion) == 209 * kSlot);
static_assert(offsetof(JNINativeInterface_, GetJavaVM) == 219 * kSlot);
static_assert(offsetof(JNINativeInterface_, ExceptionCheck) == 228 * kSlot);
static_assert(offsetof(JNINativeInterface_, GetObjectRefType) == 232 * kSlot);
static_assert(offsetof(JNIInvokeInterface_, DestroyJavaVM) == 3 * kSlot);
static_assert(offsetof(JNIInvokeInterface_, AttachCurrentThreadAsDaemon) == 7 * kSlot);
static_assert(sizeof(JavaVMOption) == 16 && sizeof(JavaVMInitArgs) == 24 && offsetof(JavaVMInitArgs, options) == 8);
static_assert(offsetof(JDK1_1InitArgs, javaStackSize) == 24 && offsetof(JDK1_1InitArgs, exit) == 56);
static_assert(offsetof(JDK1_1InitArgs, debugPort) == 92 && sizeof(JDK1_1InitArgs) == 96);

namespace {

const std::wstring kBuild = L"" TEST_RUNTIME_BUILD_DIR;

std::wstring widen(const char* text)
{
    std::wstring out(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &out[0], static_cast<int>(out.size()));
    out.pop_back();
    return out;
}

std::string narrow(const std::wstring& text)
{
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], static_cast<int>(out.size()), nullptr, nullptr);
    out.pop_back();
    return out;
}

// A fresh runtime home per test (each copy of jvm.dll is its own VM).
std::wstring homeFor(const std::string& name)
{
    std::wstring home = kBuild + L"\\work\\" + widen(name.c_str()) + L"\\";
    testruntime_detail::createFolders(home);
    return home;
}

std::wstring currentTestHome()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        c = c == '/' ? '_' : c;
    }
    return homeFor(name);
}

struct Runtime {
    HMODULE module = nullptr;
    CreateJavaVmFunction create = nullptr;
    GetDefaultJavaVmInitArgsFunction defaults = nullptr;
    FindClassFromBootLoaderFunction bootLoader = nullptr;
    std::wstring folder;
};

template <typename Function>
Function procAddress(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

Runtime loadRuntime(const std::wstring& jvm)
{
    Runtime r;
    r.folder = jvm.substr(0, jvm.rfind(L'\\') + 1);
    r.module = LoadLibraryW(jvm.c_str());
    if (r.module) {
        r.create = procAddress<CreateJavaVmFunction>(r.module, "JNI_CreateJavaVM");
        r.defaults = procAddress<GetDefaultJavaVmInitArgsFunction>(r.module, "JNI_GetDefaultJavaVMInitArgs");
        r.bootLoader = procAddress<FindClassFromBootLoaderFunction>(r.module, "JVM_FindClassFromBootLoader");
    }
    return r;
}

Runtime installAndLoad(const TestRuntimeScenario& scenario, const std::wstring& home = currentTestHome())
{
    std::wstring jvm = installTestRuntime(kBuild, TestRuntimeVariant::Standard, home, scenario);
    EXPECT_FALSE(jvm.empty());
    return loadRuntime(jvm);
}

void JNICALL exitHook(jint) {}
void JNICALL abortHook() {}

DWORD WINAPI threadBody(void* body)
{
    (*static_cast<std::function<void()>*>(body))();
    return 0;
}

// Runs body on a new thread that reserves the given stack, as the launcher's VM thread does.
void onThread(SIZE_T stack, std::function<void()> body)
{
    HANDLE thread = CreateThread(nullptr, stack, threadBody, &body, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

jint createVm(const Runtime& r, std::vector<std::string> options, JavaVM** vm, JNIEnv** env, jint version = JNI_VERSION_1_2)
{
    std::vector<JavaVMOption> records;
    for (auto& option : options) {
        records.push_back({&option[0], nullptr});
    }
    records.push_back({const_cast<char*>("abort"), reinterpret_cast<void*>(&abortHook)});
    records.push_back({const_cast<char*>("exit"), reinterpret_cast<void*>(&exitHook)});
    JavaVMInitArgs args{version, static_cast<jint>(records.size()), records.data(), JNI_FALSE};
    return r.create(vm, reinterpret_cast<void**>(env), &args);
}

jstring javaString(JNIEnv* env, const std::u16string& text)
{
    jclass string = env->FindClass("java/lang/String");
    jmethodID init = env->GetMethodID(string, "<init>", "([C)V");
    jcharArray chars = env->NewCharArray(static_cast<jsize>(text.size()));
    env->SetCharArrayRegion(chars, 0, static_cast<jsize>(text.size()), reinterpret_cast<const jchar*>(text.data()));
    return static_cast<jstring>(env->NewObject(string, init, chars));
}

jobjectArray javaStrings(JNIEnv* env, const std::vector<std::u16string>& texts)
{
    jobjectArray array = env->NewObjectArray(static_cast<jsize>(texts.size()), env->FindClass("java/lang/String"), nullptr);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        env->SetObjectArrayElement(array, static_cast<jsize>(i), javaString(env, texts[i]));
    }
    return array;
}

std::string fromJava(JNIEnv* env, jstring text)
{
    const char* utf = env->GetStringUTFChars(text, nullptr);
    std::string out = utf ? utf : "";
    env->ReleaseStringUTFChars(text, utf);
    return out;
}

// Points System.out or System.err at a file through FileOutputStream and PrintStream.
void redirect(JNIEnv* env, const std::wstring& path, bool append, const char* setter)
{
    jclass fileClass = env->FindClass("java/io/FileOutputStream");
    jobject file = env->NewObject(fileClass, env->GetMethodID(fileClass, "<init>", "(Ljava/lang/String;Z)V"),
        javaString(env, std::u16string(path.begin(), path.end())), static_cast<jboolean>(append));
    if (!file) {
        return;
    }
    jclass printClass = env->FindClass("java/io/PrintStream");
    jobject print = env->NewObject(printClass, env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V"), file);
    jclass system = env->FindClass("java/lang/System");
    env->CallStaticVoidMethod(system, env->GetStaticMethodID(system, setter, "(Ljava/io/PrintStream;)V"), print);
}

// The stack trace of a throwable as printStackTrace writes it into a byte stream.
std::string stackTrace(JNIEnv* env, jthrowable throwable)
{
    jclass bytesClass = env->FindClass("java/io/ByteArrayOutputStream");
    jobject bytes = env->NewObject(bytesClass, env->GetMethodID(bytesClass, "<init>", "()V"));
    jclass printClass = env->FindClass("java/io/PrintStream");
    jobject print = env->NewObject(printClass, env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V"), bytes);
    env->CallVoidMethod(throwable, env->GetMethodID(env->GetObjectClass(throwable), "printStackTrace", "(Ljava/io/PrintStream;)V"), print);
    jobject text = env->CallObjectMethod(bytes, env->GetMethodID(env->GetObjectClass(bytes), "toString", "()Ljava/lang/String;"));
    return fromJava(env, static_cast<jstring>(text));
}

TEST(TestRuntimeExports, EachVariantExportsWhatItsNameSays)
{
    struct Row {
        TestRuntimeVariant variant;
        const char* name;
        bool bootLoader;
        bool defaults;
    } rows[] = {
        {TestRuntimeVariant::Standard, "standard", true, true},
        {TestRuntimeVariant::NoBootLoader, "no-bootloader", false, true},
        {TestRuntimeVariant::NoDefaultArgs, "no-defaultargs", true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::wstring jvm = installTestRuntime(kBuild, row.variant, homeFor(std::string("exports-") + row.name), {});
        ASSERT_FALSE(jvm.empty());
        HMODULE module = LoadLibraryW(jvm.c_str());
        ASSERT_NE(module, nullptr);
        EXPECT_NE(GetProcAddress(module, "JNI_CreateJavaVM"), nullptr);
        EXPECT_NE(GetProcAddress(module, "JNI_GetCreatedJavaVMs"), nullptr);
        EXPECT_EQ(GetProcAddress(module, "JVM_FindClassFromBootLoader") != nullptr, row.bootLoader);
        EXPECT_EQ(GetProcAddress(module, "JNI_GetDefaultJavaVMInitArgs") != nullptr, row.defaults);
        TestRuntimeLog log = readTestRuntimeLog(jvm.substr(0, jvm.rfind(L'\\')));
        std::string expected = narrow(jvm);
        for (char& c : expected) {
            c = c == '/' ? '\\' : c;
        }
        EXPECT_EQ(log.value("dll"), expected);
    }
    EXPECT_NE(LoadLibraryW(testRuntimeMarker(kBuild).c_str()), nullptr);
}

TEST(TestRuntime, StartRecordsOptionsStackAndArgumentsAndDestroyWaitsForThreads)
{
    TestRuntimeScenario scenario;
    scenario.mainClass = "com/acme/App";
    scenario.defaultStackSize = 3 << 20;
    scenario.outLines = {"out line"};
    scenario.threadMillis = 400;
    scenario.environment = {"TEST_RUNTIME_SET", "TEST_RUNTIME_UNSET"};
    SetEnvironmentVariableW(L"TEST_RUNTIME_SET", L"\u00e4 b");
    SetEnvironmentVariableW(L"TEST_RUNTIME_UNSET", nullptr);
    Runtime r = installAndLoad(scenario);
    ASSERT_TRUE(r.create && r.defaults && r.bootLoader);

    JDK1_1InitArgs defaults{};
    defaults.version = JNI_VERSION_1_1;
    ASSERT_EQ(r.defaults(&defaults), JNI_OK);
    EXPECT_EQ(defaults.javaStackSize, 3 << 20);

    const std::vector<std::u16string> arguments = {u"plain", u"with space", u"Gr\u00fc\u00dfe \u65e5\u672c", u"\U0001F600", u""};
    const std::wstring outFile = r.folder + L"out.txt";
    JavaVM* vm = nullptr;
    onThread(defaults.javaStackSize, [&] {
        JNIEnv* env = nullptr;
        ASSERT_EQ(createVm(r, {"-Djava.class.path=a.jar;b.jar", "-Xmx64m"}, &vm, &env), JNI_OK);
        redirect(env, outFile, false, "setOut");
        jclass helper = r.bootLoader(env, "sun/launcher/LauncherHelper");
        ASSERT_NE(helper, nullptr);
        jmethodID check = env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
        jclass mainClass = static_cast<jclass>(env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, javaString(env, u"com.acme.App")));
        ASSERT_NE(mainClass, nullptr);
        env->CallStaticVoidMethod(mainClass, env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V"),
            javaStrings(env, arguments));
        EXPECT_EQ(env->ExceptionOccurred(), nullptr);
        EXPECT_EQ(vm->DetachCurrentThread(), JNI_OK);
    });
    DWORD start = GetTickCount();
    EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);
    EXPECT_GE(GetTickCount() - start, 300u) << "DestroyJavaVM must wait for the non-daemon thread";

    TestRuntimeLog log = readTestRuntimeLog(r.folder);
    EXPECT_EQ(log.values("option"),
        (std::vector<std::string>{"-Djava.class.path=a.jar;b.jar", "-Xmx64m", "abort", "exit"}));
    EXPECT_EQ(log.values("extrainfo"), (std::vector<std::string>{"abort", "exit"}));
    EXPECT_EQ(log.value("create.nOptions"), "4");
    EXPECT_EQ(log.value("create.version"), "0x00010002");
    EXPECT_EQ(log.value("create.ignoreUnrecognized"), "0");
    EXPECT_GE(std::stoll(log.value("create.stack")), 3 << 20);
    EXPECT_EQ(log.value("main.thread"), log.value("create.thread"));
    EXPECT_EQ(log.values("env.TEST_RUNTIME_SET"), std::vector<std::string>{u8"\u00e4 b"});
    EXPECT_FALSE(log.has("env.TEST_RUNTIME_UNSET"));
    EXPECT_EQ(log.values("arg"), (std::vector<std::string>{"plain", "with space", u8"Gr\u00fc\u00dfe \u65e5\u672c", u8"\U0001F600", ""}));
    EXPECT_EQ(log.value("checkandloadmain"), "1 1 com.acme.App");
    EXPECT_EQ(log.value("setout"), narrow(outFile));
    EXPECT_EQ(log.values("bootloader"), (std::vector<std::string>{"sun/launcher/LauncherHelper"}));
    EXPECT_TRUE(log.has("thread.end"));
    EXPECT_TRUE(log.has("destroy.done"));
    EXPECT_EQ(log.values("error"), std::vector<std::string>{});
    EXPECT_EQ(testruntime_detail::readBytes(outFile),
        u8"plain\r\nwith space\r\nGr\u00fc\u00dfe \u65e5\u672c\r\n\U0001F600\r\n\r\nout line\r\n");
}

TEST(TestRuntime, UncaughtExceptionCarriesMessageAndTraceThroughAByteStream)
{
    TestRuntimeScenario scenario;
    scenario.throwMessage = u8"\u00dcberlauf \u2603";
    Runtime r = installAndLoad(scenario);
    std::string trace;
    onThread(0, [&] {
        JavaVM* vm = nullptr;
        JNIEnv* env = nullptr;
        ASSERT_EQ(createVm(r, {}, &vm, &env), JNI_OK);
        jclass mainClass = env->FindClass("app/Main");
        env->CallStaticVoidMethod(mainClass, env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V"),
            javaStrings(env, {}));
        jthrowable thrown = env->ExceptionOccurred();
        ASSERT_NE(thrown, nullptr);
        env->ExceptionClear();
        trace = stackTrace(env, thrown);
    });
    EXPECT_EQ(trace, u8"java.lang.IllegalStateException: \u00dcberlauf \u2603\r\n"
                     "\tat app.Main.run(Main.java:12)\r\n\tat app.Main.main(Main.java:5)\r\n");
    TestRuntimeLog log = readTestRuntimeLog(r.folder);
    EXPECT_EQ(log.value("main.argc"), "0");
    EXPECT_EQ(log.values("error"), std::vector<std::string>{});
}

// Each row runs in a VM of its own and reports what the launcher would see.
TEST(TestRuntime, FailuresLookAsARealRuntimeReportsThem)
{
    struct Row {
        const char* name;
        std::function<void(TestRuntimeScenario&)> steer;
        std::function<std::string(const Runtime&, JNIEnv*)> act;  // runs after a successful creation
        std::string expected;
    } rows[] = {
        {"no LauncherHelper", [](TestRuntimeScenario& s) { s.launcherHelper = false; },
            [](const Runtime& r, JNIEnv* env) {
                return std::string(r.bootLoader(env, "sun/launcher/LauncherHelper") ? "found" : "null")
                    + (env->FindClass("app/Main") ? " main found" : " main missing");
            },
            "null main found"},
        {"LauncherHelper of an older runtime", [](TestRuntimeScenario& s) { s.checkAndLoadMain = false; },
            [](const Runtime& r, JNIEnv* env) {
                jclass helper = r.bootLoader(env, "sun/launcher/LauncherHelper");
                bool found = env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
                return std::string(found ? "found" : "null") + (env->ExceptionCheck() ? " pending" : " clear");
            },
            "null pending"},
        {"boot loader does not see the application", nullptr,
            [](const Runtime& r, JNIEnv* env) { return std::string(r.bootLoader(env, "app/Main") ? "found" : "null"); }, "null"},
        {"main class missing", [](TestRuntimeScenario& s) { s.mainClass = "app/Other"; },
            [](const Runtime&, JNIEnv* env) {
                bool found = env->FindClass("app/Main") != nullptr;
                jthrowable pending = env->ExceptionOccurred();
                env->ExceptionClear();
                return std::string(found ? "found " : "null ") + (pending ? stackTrace(env, pending) : "no exception");
            },
            "null java.lang.NoClassDefFoundError: app/Main\r\n"},
        {"LauncherHelper does not find the main class", [](TestRuntimeScenario& s) { s.mainClass = "app/Other"; },
            [](const Runtime& r, JNIEnv* env) {
                std::wstring errFile = r.folder + L"err.txt";
                redirect(env, errFile, false, "setErr");
                jclass helper = r.bootLoader(env, "sun/launcher/LauncherHelper");
                jmethodID check = env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
                jobject found = env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, javaString(env, u"app.Main"));
                return std::string(found ? "found " : "null ") + testruntime_detail::readBytes(errFile);
            },
            "null Error: Could not find or load main class app.Main\r\n"},
        {"no main method", [](TestRuntimeScenario& s) { s.hasMain = false; },
            [](const Runtime&, JNIEnv* env) {
                jmethodID main = env->GetStaticMethodID(env->FindClass("app/Main"), "main", "([Ljava/lang/String;)V");
                return std::string(main ? "found" : "null") + (env->ExceptionCheck() ? " pending" : " clear");
            },
            "null pending"},
        {"no main method and no exception", [](TestRuntimeScenario& s) { s.hasMain = false; s.noSuchMethodException = false; },
            [](const Runtime&, JNIEnv* env) {
                jmethodID main = env->GetStaticMethodID(env->FindClass("app/Main"), "main", "([Ljava/lang/String;)V");
                return std::string(main ? "found" : "null") + (env->ExceptionCheck() ? " pending" : " clear");
            },
            "null clear"},
        {"file that cannot be opened", nullptr,
            [](const Runtime& r, JNIEnv* env) {
                redirect(env, r.folder + L"missing\\folder\\out.txt", false, "setOut");
                jthrowable pending = env->ExceptionOccurred();
                env->ExceptionClear();
                return pending ? stackTrace(env, pending).substr(0, 29) : std::string("no exception");
            },
            "java.io.FileNotFoundException"},
        {"append keeps and truncate replaces", nullptr,
            [](const Runtime& r, JNIEnv* env) {
                std::wstring path = r.folder + L"kept.txt";
                testruntime_detail::writeBytes(path, "old\r\n");
                jclass print = env->FindClass("java/io/PrintStream");
                std::string result;
                for (bool append : {true, false}) {
                    jclass fileClass = env->FindClass("java/io/FileOutputStream");
                    jobject file = env->NewObject(fileClass, env->GetMethodID(fileClass, "<init>", "(Ljava/lang/String;Z)V"),
                        javaString(env, std::u16string(path.begin(), path.end())), static_cast<jboolean>(append));
                    jobject stream = env->NewObject(print, env->GetMethodID(print, "<init>", "(Ljava/io/OutputStream;)V"), file);
                    env->CallVoidMethod(stream, env->GetMethodID(print, "println", "(Ljava/lang/String;)V"),
                        javaString(env, append ? u"appended" : u"fresh"));
                    result += testruntime_detail::readBytes(path) + "|";
                }
                return result;
            },
            "old\r\nappended\r\n|fresh\r\n|"},
    };
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestRuntimeScenario scenario;
        if (row.steer) {
            row.steer(scenario);
        }
        Runtime r = installAndLoad(scenario, homeFor("failures-" + std::to_string(index++)));
        onThread(0, [&] {
            JavaVM* vm = nullptr;
            JNIEnv* env = nullptr;
            ASSERT_EQ(createVm(r, {}, &vm, &env), JNI_OK);
            EXPECT_EQ(row.act(r, env), row.expected);
        });
        EXPECT_EQ(readTestRuntimeLog(r.folder).values("error"), std::vector<std::string>{});
    }
}

TEST(TestRuntime, CreationResultsFollowTheSteeringAndTheVersion)
{
    struct Row {
        int configured;
        jint version;
        jint expected;
    } rows[] = {{-6, JNI_VERSION_1_2, JNI_EINVAL}, {-4, JNI_VERSION_1_2, JNI_ENOMEM}, {0, JNI_VERSION_1_1, JNI_EVERSION}, {0, JNI_VERSION_1_2, JNI_OK}};
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(index);
        TestRuntimeScenario scenario;
        scenario.createResult = row.configured;
        Runtime r = installAndLoad(scenario, homeFor("create-" + std::to_string(index++)));
        jint result = 0;
        onThread(0, [&] {
            JavaVM* vm = nullptr;
            JNIEnv* env = nullptr;
            result = createVm(r, {"-Xfoo"}, &vm, &env, row.version);
        });
        EXPECT_EQ(result, row.expected);
        EXPECT_EQ(readTestRuntimeLog(r.folder).value("create.result"), std::to_string(row.expected));
    }
}

TEST(TestRuntime, SecondaryMainRunsOnAnAttachedThreadAndMisuseIsLogged)
{
    TestRuntimeScenario scenario;
    scenario.secondaryMain = "int";
    scenario.secondaryResult = 7;
    Runtime r = installAndLoad(scenario);
    JavaVM* vm = nullptr;
    JNIEnv* creatorEnv = nullptr;
    onThread(0, [&] { ASSERT_EQ(createVm(r, {}, &vm, &creatorEnv), JNI_OK); });
    jint answer = -1;
    onThread(0, [&] {
        JNIEnv* env = nullptr;
        ASSERT_EQ(vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr), JNI_OK);
        jclass mainClass = env->FindClass("app/Main");
        EXPECT_EQ(env->GetStaticMethodID(mainClass, "secondaryMain", "([Ljava/lang/String;)V"), nullptr);
        env->ExceptionClear();
        jmethodID secondary = env->GetStaticMethodID(mainClass, "secondaryMain", "([Ljava/lang/String;)I");
        answer = env->CallStaticIntMethod(mainClass, secondary, javaStrings(env, {u"one", u"two"}));
        creatorEnv->FindClass("java/lang/String");
        EXPECT_EQ(vm->DetachCurrentThread(), JNI_OK);
    });
    EXPECT_EQ(answer, 7);
    TestRuntimeLog log = readTestRuntimeLog(r.folder);
    EXPECT_EQ(log.values("secondary.arg"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(log.value("secondary.thread"), log.value("attach"));
    EXPECT_EQ(log.value("detach"), log.value("attach"));
    EXPECT_EQ(log.values("error"), (std::vector<std::string>{"FindClass: the JNIEnv of another thread was used"}));
}

TEST(TestRuntimeControl, HeaderFilesCarryTheMachineTheSystemReads)
{
    using ImageNtHeader = IMAGE_NT_HEADERS* (WINAPI*)(void*);
    auto read = procAddress<ImageNtHeader>(GetModuleHandleW(L"ntdll.dll"), "RtlImageNtHeader");
    ASSERT_NE(read, nullptr);
    for (std::uint16_t machine : {std::uint16_t{0x014C}, std::uint16_t{0x8664}}) {
        SCOPED_TRACE(machine);
        std::wstring path = homeFor("pe") + std::to_wstring(machine) + L".dll";
        ASSERT_TRUE(writePeHeaderFile(path, machine));
        std::string image = testruntime_detail::readBytes(path);
        IMAGE_NT_HEADERS* headers = read(&image[0]);
        ASSERT_NE(headers, nullptr);
        EXPECT_EQ(headers->FileHeader.Machine, machine);
        EXPECT_EQ(headers->OptionalHeader.Magic, machine == 0x014C ? 0x010B : 0x020B);
        EXPECT_EQ(LoadLibraryW(path.c_str()), nullptr);
    }
}

// Run by SystemExitCallsTheExitHookAndEndsTheProcess in a child process of its own.
std::wstring gHookFile;
void JNICALL recordingExitHook(jint code) { testruntime_detail::writeBytes(gHookFile, std::to_string(code)); }

TEST(TestRuntimeChild, DISABLED_SystemExit)
{
    wchar_t folder[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"TEST_RUNTIME_CHILD_HOME", folder, MAX_PATH), 0u);
    Runtime r = loadRuntime(std::wstring(folder) + L"bin\\server\\jvm.dll");
    gHookFile = r.folder + L"hook.txt";
    JavaVMOption options[] = {{const_cast<char*>("exit"), reinterpret_cast<void*>(&recordingExitHook)}};
    JavaVMInitArgs args{JNI_VERSION_1_2, 1, options, JNI_FALSE};
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    ASSERT_EQ(r.create(&vm, reinterpret_cast<void**>(&env), &args), JNI_OK);
    jclass helper = r.bootLoader(env, "sun/launcher/LauncherHelper");
    jmethodID check = env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
    auto mainClass = static_cast<jclass>(env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, javaString(env, u"app.Main")));
    ASSERT_NE(mainClass, nullptr);
    env->CallStaticVoidMethod(mainClass, env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V"), javaStrings(env, {}));
    vm->DestroyJavaVM();
    FAIL() << "the process did not end through System.exit";
}

// System.exit from main, from the non-daemon thread while DestroyJavaVM waits
// for it, and from the launcher helper of a runtime that rejects the main class
// after a slow creation that complained on standard error.
TEST(TestRuntime, SystemExitCallsTheExitHookAndEndsTheProcess)
{
    struct Row {
        const char* name;
        std::function<void(TestRuntimeScenario&)> steer;
        DWORD expected;
        std::string standardError;
    } rows[] = {
        {"main", [](TestRuntimeScenario& s) { s.exitCode = 3; }, 3, ""},
        {"thread", [](TestRuntimeScenario& s) { s.threadExitCode = -1; s.threadMillis = 50; }, 0xFFFFFFFF, ""},
        {"prestart",
            [](TestRuntimeScenario& s) {
                s.createDelayMillis = 300;
                s.createErrLines = {"Unrecognized option: -Xfoo"};
                s.mainClass = "app/Other";
                s.prestartErrLines = {"Caused by: java.lang.ClassNotFoundException: app.Main"};
                s.prestartExitCode = 1;
            },
            1,
            "Unrecognized option: -Xfoo\r\nError: Could not find or load main class app.Main\r\n"
            "Caused by: java.lang.ClassNotFoundException: app.Main\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestRuntimeScenario scenario;
        row.steer(scenario);
        std::wstring home = homeFor(std::string("exit-") + row.name);
        std::wstring jvm = installTestRuntime(kBuild, TestRuntimeVariant::Standard, home, scenario);
        ASSERT_FALSE(jvm.empty());
        std::wstring folder = jvm.substr(0, jvm.rfind(L'\\') + 1);
        DeleteFileW((folder + L"hook.txt").c_str());
        SetEnvironmentVariableW(L"TEST_RUNTIME_CHILD_HOME", home.c_str());
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command =
            L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=TestRuntimeChild.DISABLED_SystemExit";
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdError = CreateFileW((folder + L"child-err.txt").c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0, nullptr);
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(self, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process));
        CloseHandle(startup.hStdError);
        ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(code, row.expected);
        EXPECT_EQ(testruntime_detail::readBytes(folder + L"child-err.txt"), row.standardError);
        std::string text = std::to_string(static_cast<int>(row.expected));
        EXPECT_EQ(testruntime_detail::readBytes(folder + L"hook.txt"), text);
        TestRuntimeLog log = readTestRuntimeLog(folder);
        EXPECT_EQ(log.value("system.exit"), text);
        EXPECT_EQ(log.value("exithook"), text);
        auto micros = [&](const char* key) { return std::strtoll(log.value(key).c_str(), nullptr, 10); };
        EXPECT_GE(micros("create.end") - micros("create.elapsed"), scenario.createDelayMillis * 1000LL);
        EXPECT_EQ(log.values("prestart.exit"), row.expected == 1 ? std::vector<std::string>{"1"} : std::vector<std::string>{});
    }
}

// Each variant of the splash library logs its calls beside the runtime's
// jvm.dll, in one sequence with what the jvm.dll logs.
TEST(TestSplash, EachVariantLogsItsCallsBesideTheJvm)
{
    const std::string calls = "splash.dll splash.init splash.loadfile splash.elapsed splash.setfilejarname splash.jarname dll pid ";
    const struct {
        TestSplashVariant variant;
        const char* name;
        std::string keys;
    } rows[] = {{TestSplashVariant::Standard, "standard", calls + "splash.close "},
        {TestSplashVariant::NoLoadFile, "no-loadfile", "splash.dll splash.init splash.setfilejarname splash.jarname dll pid splash.close "},
        {TestSplashVariant::NoClose, "no-close", calls}};
    const std::wstring image = L"C:\\Bilder\\Spl\u00e4sh screen.png";
    std::string ansi(64, '\0');
    ansi.resize(WideCharToMultiByte(CP_THREAD_ACP, 0, image.c_str(), -1, &ansi[0], 64, nullptr, nullptr) - 1);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::wstring home = homeFor(std::string("splash-") + row.name);
        std::wstring jvm = installTestRuntime(kBuild, TestRuntimeVariant::Standard, home, {});
        std::wstring splash = installTestSplash(kBuild, row.variant, home);
        ASSERT_EQ(splash, home + L"bin\\splashscreen.dll");
        HMODULE module = LoadLibraryW(splash.c_str());
        auto init = procAddress<void (*)()>(module, "SplashInit");
        auto load = procAddress<int (*)(const char*)>(module, "SplashLoadFile");
        auto jarName = procAddress<void (*)(const char*, const char*)>(module, "SplashSetFileJarName");
        auto close = procAddress<void (*)()>(module, "SplashClose");
        ASSERT_TRUE(init && jarName);
        init();
        EXPECT_TRUE(!load || load(ansi.c_str()) != 0);
        jarName(ansi.c_str(), "");
        EXPECT_NE(LoadLibraryW(jvm.c_str()), nullptr);
        if (close) {
            close();
        }
        TestRuntimeLog log = readTestRuntimeLog(jvm.substr(0, jvm.rfind(L'\\')));
        std::string keys;
        for (const auto& entry : log.entries) {
            keys += entry.first + " ";
        }
        EXPECT_EQ(keys, row.keys);
        EXPECT_EQ(log.value("splash.setfilejarname"), narrow(image));
        EXPECT_EQ(log.value("splash.loadfile"), load ? narrow(image) : "");
    }
}

} // namespace
