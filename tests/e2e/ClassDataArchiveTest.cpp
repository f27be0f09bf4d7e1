// The class-data archive options as the test runtime receives them, per
// version in the runtime's release file and per state of the key.
#include <gtest/gtest.h>

#include "support/AppScenario.h"

TEST(ClassDataArchive, OptionsPerRuntimeVersionAndKey)
{
    const std::string create = "-XX:DumpLoadedClassList=";
    const struct {
        const char* release;  // empty: the runtime has no release file
        const wchar_t* key;
        std::vector<std::string> options;  // those beginning with -X, the archive's path cut off
        const wchar_t* classPath = L"\\app.jar";
        bool sharingRuntime = true;  // the runtime has its own archive and a java.exe
    } rows[] = {
        {"JAVA_VERSION=\"12.0.2\"", L"yes", {}},
        {"JAVA_VERSION=\"13\"", L"YES", {create}},
        {"JAVA_VERSION=\"18.0.1\"", L"Yes", {create}},
        {"JAVA_VERSION=\"25\"", L"yes", {create}},
        {"", L"yes", {}},
        {"JAVA_VERSION=\"17\"", L"no", {}},
        {"JAVA_VERSION=\"17\"", L"yes", {}, L"\\app.jar;\\local"},  // a folder: the runtime would fail at exit
        {"JAVA_VERSION=\"17\"", L"yes", {}, L"\\app.jar", false},  // not a runtime that archives classes
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.release);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.createFolder(L"local");
        app.writeIni(std::wstring(L"[Product Information]\nProduct Name=Acme\nProduct Code=1\n[Class Path]\n"
                                  L"Class Path=") + row.classPath +
                     L"\n[Java Runtime Environment]\nMain Class=app.Main\nClass Data Sharing=" + row.key + L"\n");
        const std::wstring jvmFolder = app.installRuntime(L"jre64", TestRuntimeScenario{});
        app.writeBytes(*row.release != '\0' ? L"jre64\\release" : L"jre64\\other", row.release);
        if (row.sharingRuntime) {
            app.writeBytes(L"jre64\\bin\\java.exe", "not a program: the archive writer fails to start");
            app.writeBytes(L"jre64\\bin\\server\\classes.jsa", "the runtime's own archive");
        }
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", app.path(L"local").c_str());
        EXPECT_EQ(app.run().exitCode, 0u);
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
        const std::string archives = utf8(app.path(L"local\\Acme\\1\\classes-"));
        std::vector<std::string> options;
        for (const std::string& option : readTestRuntimeLog(jvmFolder).values("option")) {
            const std::size_t path = option.find("=" + archives);
            if (option.rfind("-X", 0) == 0) {
                options.push_back(path == std::string::npos ? option : option.substr(0, path + 1));
            }
        }
        EXPECT_EQ(options, row.options);
    }
}
