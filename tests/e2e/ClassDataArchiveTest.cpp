// The class-data archive options as the runtime receives them, per version of
// the runtime's release file and per state of the key.
#include <gtest/gtest.h>

#include "support/AppScenario.h"

TEST(ClassDataArchive, OptionsPerRuntimeVersionAndKey)
{
    struct Row {
        const char* name;
        const char* release;  // null: the runtime has no release file
        const wchar_t* key;
        std::vector<std::string> optionStarts;  // of the options beginning with -X, in order
    };
    const std::string quiet = "-Xlog:cds=off,cds+dynamic=off";
    const std::string archives = "\\local\\Acme\\1\\classes-";
    const Row rows[] = {
        {"12", "JAVA_VERSION=\"12.0.2\"\n", L"yes", {}},
        {"13: written at exit", "JAVA_VERSION=\"13\"\n", L"YES", {quiet, "-XX:ArchiveClassesAtExit="}},
        {"18: written at exit", "JAVA_VERSION=\"18.0.1\"\n", L"Yes", {quiet, "-XX:ArchiveClassesAtExit="}},
        {"19: kept by the runtime", "JAVA_VERSION=\"19\"\n", L"yes",
         {quiet, "-XX:+VerifySharedSpaces", "-XX:+AutoCreateSharedArchive", "-XX:SharedArchiveFile="}},
        {"unknown version", nullptr, L"yes", {}},
        {"key off", "JAVA_VERSION=\"17\"\n", L"no", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppScenario app;
        app.writeBytes(L"app.jar", "jar");
        app.createFolder(L"local");
        app.writeIni(std::wstring(L"[Product Information]\nProduct Name=Acme\nProduct Code=1\n"
                                  L"[Java Runtime Environment]\nMain Class=app.Main\nClass Data Sharing=") +
                     row.key + L"\n[Class Path]\nClass Path=\\app.jar\n");
        const std::wstring jvmFolder = app.installRuntime(L"jre64", TestRuntimeScenario{});
        ASSERT_FALSE(jvmFolder.empty());
        if (row.release != nullptr) {
            app.writeBytes(L"jre64\\release", row.release);
        }
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", app.path(L"local").c_str());
        const RunResult result = app.run();
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
        EXPECT_EQ(result.exitCode, 0u);

        std::vector<std::string> archiveOptions;
        for (const std::string& option : readTestRuntimeLog(jvmFolder).values("option")) {
            if (option.rfind("-X", 0) == 0) {
                archiveOptions.push_back(option);
            }
        }
        ASSERT_EQ(archiveOptions.size(), row.optionStarts.size());
        for (std::size_t i = 0; i < archiveOptions.size(); ++i) {
            EXPECT_EQ(archiveOptions[i].rfind(row.optionStarts[i], 0), 0u) << archiveOptions[i];
        }
        if (!archiveOptions.empty()) {
            EXPECT_NE(archiveOptions.back().find(utf8(app.folder()) + archives), std::string::npos)
                << archiveOptions.back();
        }
    }
}
