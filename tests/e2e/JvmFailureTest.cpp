// Starts that fail between the runtime folder and main: each ends with its
// message read from the screen and exit code -1.
#include <gtest/gtest.h>

#include <cstring>

#include "support/AppScenario.h"

namespace {

const wchar_t* const kIni = kMinimalIni;

RunResult runApp(const AppScenario& app)
{
    RunResult result = app.run();
    EXPECT_FALSE(result.timedOut);
    return result;
}

TEST(JvmFailure, LibrariesThatDoNotLoadShowTheirPathAndError)
{
    std::string x86(0x400, '\0');
    x86[0] = 'M';
    x86[1] = 'Z';
    x86[0x3C] = 0x40;
    std::memcpy(&x86[0x40], "PE\0\0\x4c\x01", 6);
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"text file", "not a library\r\n"},
        {"truncated image", std::string("MZ\x90\0", 4)},
        {"32-bit image headers", x86},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(kIni);
        const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
        app.writeBytes(L"bin\\server\\jvm.dll", row.bytes);
        const RunResult result = runApp(app);
        EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
        ASSERT_EQ(result.messageTexts().size(), 1u);
        const std::wstring text = result.messageTexts()[0];
        const std::wstring expectedStart = L"Failed to load Java VM library: " + app.path(L"bin\\server\\jvm.dll") + L" (errno = ";
        EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart) << utf8(text);
        EXPECT_EQ(text.substr(text.size() - 3), L").\n");
    }
}

TEST(JvmFailure, MissingExportsAndVmCreationFailures)
{
    struct Row {
        const char* name;
        TestRuntimeVariant variant;
        int createResult;
        std::wstring message;
    };
    const Row rows[] = {
        {"no JNI_GetDefaultJavaVMInitArgs", TestRuntimeVariant::NoDefaultArgs, 0,
         L"Windows exception: cannot find CreateJavaVM JNI (errno = 127).\n"},
        {"JNI_ERR", TestRuntimeVariant::Standard, -1, L"JNI exception: failed to create the Java VM\nReason: unknown.\n"},
        {"JNI_EDETACHED", TestRuntimeVariant::Standard, -2,
         L"JNI exception: failed to create the Java VM\nReason: thread detached from VM.\n"},
        {"JNI_EVERSION", TestRuntimeVariant::Standard, -3,
         L"JNI exception: failed to create the Java VM\nReason: JNI version error.\n"},
        {"JNI_ENOMEM", TestRuntimeVariant::Standard, -4,
         L"JNI exception: failed to create the Java VM\nReason: not enough memory.\n"},
        {"JNI_EEXIST", TestRuntimeVariant::Standard, -5,
         L"JNI exception: failed to create the Java VM\nReason: VM already created.\n"},
        {"JNI_EINVAL", TestRuntimeVariant::Standard, -6,
         L"JNI exception: failed to create the Java VM\nReason: invalid arguments.\n"},
        {"a code outside the table", TestRuntimeVariant::Standard, -42,
         L"JNI exception: failed to create the Java VM\nReason: .\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(kIni);
        TestRuntimeScenario runtime;
        runtime.createResult = row.createResult;
        app.installRuntime(L"", runtime, row.variant);
        const RunResult result = runApp(app);
        EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
        ASSERT_EQ(result.messageTexts().size(), 1u);
        EXPECT_EQ(result.messageTexts()[0], row.message);
    }
}

TEST(JvmFailure, MainClassAndMainMethodProblems)
{
    struct Row {
        const char* name;
        TestRuntimeScenario runtime;
        TestRuntimeVariant variant;
        std::vector<std::wstring> messages;
        bool describedException;
    };
    TestRuntimeScenario missingClass;
    missingClass.mainClass = "app/Other";
    TestRuntimeScenario missingWithoutHelper = missingClass;
    missingWithoutHelper.launcherHelper = false;
    TestRuntimeScenario noMainWithException;
    noMainWithException.hasMain = false;
    TestRuntimeScenario noMainQuietly = noMainWithException;
    noMainQuietly.noSuchMethodException = false;
    // The launcher's own message, then what the runtime wrote while the
    // start failed ({folder}: the runtime folder).
    const Row rows[] = {
        {"class missing, through the launcher helper and the fallback", missingClass, TestRuntimeVariant::Standard,
         {L"Could not find the main class app/Main.\n\nError: Could not find or load main class app.Main\r\n"
          L"java.lang.NoClassDefFoundError: app/Main\r\n"},
         true},
        {"class missing, no launcher helper", missingWithoutHelper, TestRuntimeVariant::Standard,
         {L"Could not find the main class app/Main.\n\njava.lang.NoClassDefFoundError: app/Main\r\n"}, true},
        {"class missing, no boot loader export", missingClass, TestRuntimeVariant::NoBootLoader,
         {L"Could not find the main class app/Main.\n\njava.lang.NoClassDefFoundError: app/Main\r\n"}, true},
        {"no main method, exception pending", noMainWithException, TestRuntimeVariant::Standard,
         {L"The application could not be started.\nMain class: app.Main\nJava runtime: {folder}\n\n"
          L"java.lang.NoSuchMethodError: main\r\n"},
         true},
        {"no main method, nothing pending", noMainQuietly, TestRuntimeVariant::Standard,
         {L"No main method found in specified class.\n"}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(kIni);
        const std::wstring jvmFolder = app.installRuntime(L"", row.runtime, row.variant);
        const RunResult result = runApp(app);
        EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
        std::vector<std::wstring> expected = row.messages;
        for (std::wstring& message : expected) {
            const std::size_t at = message.find(L"{folder}");
            if (at != std::wstring::npos) {
                message.replace(at, 8, app.folder());
            }
        }
        EXPECT_EQ(result.messageTexts(), expected);
        const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
        EXPECT_EQ(log.has("describe"), row.describedException);
        // The VM thread let go of the VM, so its destruction had nothing to wait for.
        EXPECT_TRUE(log.has("detach"));
        EXPECT_TRUE(log.has("destroy.done"));
        EXPECT_EQ(log.values("error"), std::vector<std::string>{}) << "the launcher misused JNI";
    }
}

TEST(JvmFailure, WithoutTheLauncherHelperTheMainClassIsFoundDirectly)
{
    struct Row {
        const char* name;
        TestRuntimeVariant variant;
        bool checkAndLoadMain;
    };
    const Row rows[] = {
        {"no boot loader export", TestRuntimeVariant::NoBootLoader, true},
        // Its failed lookup leaves NoSuchMethodError pending.
        {"an older helper without checkAndLoadMain", TestRuntimeVariant::Standard, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeIni(L"[Java Runtime Environment]\nMain Class=com.acme.App\n[Class Path]\nClass Path=\\app.jar\n");
        TestRuntimeScenario runtime;
        runtime.mainClass = "com/acme/App";
        runtime.checkAndLoadMain = row.checkAndLoadMain;
        const std::wstring jvmFolder = app.installRuntime(L"", runtime, row.variant);
        const RunResult result = runApp(app);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_EQ(result.messageTexts(), std::vector<std::wstring>{});
        const TestRuntimeLog log = readTestRuntimeLog(jvmFolder);
        EXPECT_FALSE(log.has("checkandloadmain"));
        EXPECT_EQ(log.value("main.argc"), "0") << "main did not run";
        const auto lookups = log.values("findclass");
        EXPECT_NE(std::find(lookups.begin(), lookups.end(), "com/acme/App"), lookups.end());
        EXPECT_EQ(log.values("error"), std::vector<std::string>{}) << "the launcher misused JNI";
    }
}

TEST(JvmFailure, EmptyClassPathIsReportedAndTheVmStillStarts)
{
    AppScenario app;
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nVirtual Machine Parameters=-Xmx1m\n");
    const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
    const RunResult result = runApp(app);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.messageTexts(), std::vector<std::wstring>{L"Java Class Path was not specified in INI file."});
    // Nothing else of the configuration was read: only the two hooks.
    EXPECT_EQ(readTestRuntimeLog(jvmFolder).values("option"), (std::vector<std::string>{"abort", "exit"}));
}

TEST(JvmFailure, HugeConfigurationValuesDoNotCrash)
{
    AppScenario app;
    app.writeBytes(L"app.jar", "jar");
    std::wstring parameters;
    for (int i = 0; i < 10000; ++i) {
        parameters += L"-Dp" + std::to_wstring(i) + L"=v ";
    }
    parameters += L"-Dunterminated=\"open quote";
    app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\nVirtual Machine Parameters=" + parameters +
                 L"\n[Class Path]\nClass Path=\\app.jar;C:\\" + std::wstring(32000, L'x') + L".jar\n");
    const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
    const RunResult result = app.run(std::wstring(), 60000);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    const std::vector<std::string> options = readTestRuntimeLog(jvmFolder).values("option");
    // An unterminated quote protects nothing and stays in its option.
    ASSERT_EQ(options.size(), 10005u);
    EXPECT_EQ(options[1], "-Dp0=v");
    EXPECT_EQ(options[10001], "-Dunterminated=\"open");
    EXPECT_EQ(options[10002], "quote");
    EXPECT_EQ(options[0].size(), std::string("-Djava.class.path=").size() + utf8(app.path(L"app.jar")).size() + 1 + 3 + 32000 + 4);
}

} // namespace

namespace {

TEST(JvmFailure, TextsTheCodePageCannotCarryStopTheStartBeforeTheVm)
{
    const std::wstring gone = L"C:\\\x141ukasz-gone\\app.jar";
    const struct Row {
        const char* name;
        std::wstring keys;
        std::wstring message;
    } rows[] = {
        {"class path entry without a short form", L"[Class Path]\nClass Path=\\app.jar;" + gone + L"\n",
         L"The Java runtime cannot be given -Djava.class.path: \"" + gone + L"\" holds the character \"\x141\""},
        {"-D value that is no path", L"Virtual Machine Parameters=-Dgreeting=\x4F60\x597D\n[Class Path]\nClass Path=\\app.jar\n",
         L"cannot be given -Dgreeting: \"\x4F60\x597D\" holds the character \"\x4F60\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.writeUtf16(L"App.ini", L"[Java Runtime Environment]\nMain Class=app.Main\n" + row.keys);
        const std::wstring jvmFolder = app.installRuntime(L"", TestRuntimeScenario{});
        const RunResult result = runApp(app);
        EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
        ASSERT_EQ(result.messageTexts().size(), 1u);
        EXPECT_NE(result.messageTexts()[0].find(row.message), std::wstring::npos) << utf8(result.messageTexts()[0]);
        EXPECT_FALSE(readTestRuntimeLog(jvmFolder).has("create.version")) << "no VM may be created";
    }
}

} // namespace
