#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "JvmTestFakes.h"
#include "jvm/RuntimeEnvironment.h"

namespace {

TEST(RuntimeEnvironment, FoldersFromJvmLibraryPath)
{
    struct Row {
        std::wstring jvmLibraryPath;
        std::wstring home;
        std::wstring binFolder;
    };
    std::wstring deep = L"C:";
    for (int i = 0; i < 400; ++i) {
        deep += L"\\folder" + std::to_wstring(i);
    }
    const Row rows[] = {
        {L"C:\\Java\\jre\\bin\\server\\jvm.dll", L"C:\\Java\\jre", L"C:\\Java\\jre\\bin"},
        {L"C:\\jrockit\\jre\\bin\\jrockit\\jvm.dll", L"C:\\jrockit\\jre", L"C:\\jrockit\\jre\\bin"},
        {L"\\\\srv\\share\\jre\\bin\\client\\jvm.dll", L"\\\\srv\\share\\jre", L"\\\\srv\\share\\jre\\bin"},
        {L"C:\\bin\\server\\jvm.dll", L"C:", L"C:\\bin"},
        {L"C:\\server\\jvm.dll", L"C:", L"C:"},  // the third cut finds no backslash
        {L"jvm.dll", L"jvm.dll", L"jvm.dll"},
        {deep + L"\\bin\\server\\jvm.dll", deep, deep + L"\\bin"},
    };
    for (const Row& row : rows) {
        const RuntimeFolders folders = runtimeFoldersFor(row.jvmLibraryPath);
        EXPECT_EQ(folders.home, row.home) << printable(row.jvmLibraryPath);
        EXPECT_EQ(folders.binFolder, row.binFolder) << printable(row.jvmLibraryPath);
        EXPECT_EQ(folders.libFolder, row.home + L"\\lib") << printable(row.jvmLibraryPath);
    }
}

TEST(RuntimeEnvironment, LibraryPathText)
{
    struct Row {
        std::wstring libraryPath;
        std::wstring launcherFolder;
        std::wstring text;
    };
    const Row rows[] = {
        {L"native", L"C:\\App\\", L"native;C:\\App\\;.;%Path%;C:\\Java\\jre\\lib"},
        {L"native;", L"C:\\App\\", L"native;C:\\App\\;.;%Path%;C:\\Java\\jre\\lib"},
        {L"a;b", L"C:\\App\\", L"a;b;C:\\App\\;.;%Path%;C:\\Java\\jre\\lib"},
        {L";", L"C:\\App\\", L";C:\\App\\;.;%Path%;C:\\Java\\jre\\lib"},
        {L"native", L"", L"native;.;%Path%;C:\\Java\\jre\\lib"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(libraryPathText(row.libraryPath, row.launcherFolder, L"C:\\Java\\jre\\lib"), row.text)
            << printable(row.libraryPath) << " / " << printable(row.launcherFolder);
    }
}

// The whole preparation against a live fake environment: each expansion sees
// the variables set before it.
TEST(RuntimeEnvironment, PrepareRuntimeEnvironment)
{
    struct Row {
        const char* name;
        std::wstring libraryPath;
        std::wstring systemPath;
        std::optional<std::wstring> option;
        std::wstring path;
    };
    const Row rows[] = {
        {"typical", L"native", L"", L"-Djava.library.path=native;C:\\App\\;.;C:\\Windows\\system32;C:\\Java\\jre\\lib",
         L"C:\\Windows\\system32;C:\\Java\\jre\\bin"},
        {"no library path", L"", L"C:\\Tools", std::nullopt, L"C:\\Tools;C:\\Windows\\system32;C:\\Java\\jre\\bin"},
        {"library path sees the runtime home", L"%ZQ_JVM_HOME%\\native", L"%ZQ_JVM_HOME%\\tools",
         L"-Djava.library.path=C:\\Java\\jre\\native;C:\\App\\;.;C:\\Windows\\system32;C:\\Java\\jre\\lib",
         L"C:\\Java\\jre\\tools;C:\\Windows\\system32;C:\\Java\\jre\\bin"},
        {"undefined references stay", L"%NOPE%", L"%NOPE%;",
         L"-Djava.library.path=%NOPE%;C:\\App\\;.;C:\\Windows\\system32;C:\\Java\\jre\\lib",
         L"%NOPE%;C:\\Windows\\system32;C:\\Java\\jre\\bin"},
    };
    for (const Row& row : rows) {
        FakeEnvironment environment;
        environment.set(L"PATH", L"C:\\Windows\\system32");
        std::vector<std::wstring> setOrder;
        const EnvironmentExpander expand = [&](const std::wstring& text) -> std::optional<std::wstring> {
            return environment.expand(text);
        };
        const EnvironmentSetter setVariable = [&](const std::wstring& name, const std::wstring& value) {
            setOrder.push_back(name);
            environment.set(name, value);
        };
        const std::optional<std::wstring> option = prepareRuntimeEnvironment(
            L"C:\\Java\\jre\\bin\\server\\jvm.dll", row.libraryPath, row.systemPath, L"C:\\App\\", expand, setVariable);
        EXPECT_EQ(option, row.option) << row.name;
        EXPECT_EQ(environment.get(L"Path"), row.path) << row.name;
        EXPECT_EQ(environment.get(L"ZQ_JVM_PATH"), L"C:\\Java\\jre\\bin\\server\\jvm.dll") << row.name;
        EXPECT_EQ(environment.get(L"ZQ_JVM_HOME"), L"C:\\Java\\jre") << row.name;
        EXPECT_EQ(setOrder, (std::vector<std::wstring>{L"ZQ_JVM_PATH", L"ZQ_JVM_HOME", L"Path"})) << row.name;
    }
}

TEST(RuntimeEnvironment, FailedExpansionKeepsTexts)
{
    std::vector<std::pair<std::wstring, std::wstring>> set;
    const std::optional<std::wstring> option = prepareRuntimeEnvironment(
        L"C:\\Java\\jre\\bin\\server\\jvm.dll", L"native", L"", L"C:\\App\\",
        [](const std::wstring&) { return std::optional<std::wstring>(); },
        [&](const std::wstring& name, const std::wstring& value) { set.emplace_back(name, value); });
    EXPECT_EQ(option, L"-Djava.library.path=native;C:\\App\\;.;%Path%;C:\\Java\\jre\\lib");
    ASSERT_EQ(set.size(), 3u);
    EXPECT_EQ(set[2], std::make_pair(std::wstring(L"Path"), std::wstring(L"%Path%;C:\\Java\\jre\\bin")));
}

} // namespace
