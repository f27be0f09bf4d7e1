// The file store against the real profile-string functions.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "config/IniFile_win.h"
#include "config/LayeredIniFile.h"
#include "support/WorkFolder.h"

namespace {

std::string utf16le(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

TEST(IniFile, ValuesOfEveryLengthAreReadWhole)
{
    WorkFolder work;
    // Around each doubling of the buffer (256, 512, 1024): a value of exactly
    // 255 characters fills the first buffer and needs one retry.
    const std::size_t lengths[] = {0, 1, 254, 255, 256, 510, 511, 512, 1023, 5000};
    std::string file = "[S]\r\n";
    for (std::size_t length : lengths) {
        file += "k" + std::to_string(length) + "=" + std::string(length, 'v') + "\r\n";
    }
    work.writeFile(L"a.ini", file);
    IniFile ini(work.path(L"a.ini"));
    for (std::size_t length : lengths) {
        const std::wstring value = ini.readValue(L"S", L"k" + std::to_wstring(length));
        EXPECT_EQ(value, std::wstring(length, L'v')) << "length " << length;
    }
}

TEST(IniFile, LineOfOneMegabyte)
{
    WorkFolder work;
    work.writeFile(L"big.ini", "[S]\r\nbig=" + std::string(1024 * 1024, 'b') + "\r\nafter=1\r\n");
    IniFile ini(work.path(L"big.ini"));
    EXPECT_EQ(ini.readValue(L"S", L"big").size(), 1024u * 1024u);
    EXPECT_EQ(ini.readValue(L"S", L"after"), L"1");
}

TEST(IniFile, PlatformSyntax)
{
    WorkFolder work;
    work.writeFile(L"a.ini",
                   "; comment=no\r\n"
                   "[Java Runtime Environment]\r\n"
                   "Main Class = org.example.App  \r\n"
                   "Quoted=\"C:\\Program Files\\x\"\r\n"
                   "SingleQuoted='one'\r\n"
                   "HalfQuoted=\"open\r\n"
                   "Inner=a \"b\" c\r\n"
                   ";Commented=yes\r\n"
                   "Dup=first\r\n"
                   "Dup=second\r\n"
                   "[JAVA RUNTIME ENVIRONMENT]\r\n"
                   "Later=unreachable?\r\n");
    IniFile ini(work.path(L"a.ini"));
    struct Row {
        const wchar_t* section;
        const wchar_t* key;
        std::wstring expected;
    };
    const Row rows[] = {
        {L"Java Runtime Environment", L"Main Class", L"org.example.App"},
        {L"java runtime environment", L"MAIN CLASS", L"org.example.App"},
        {L"Java Runtime Environment", L"Quoted", L"C:\\Program Files\\x"},
        {L"Java Runtime Environment", L"SingleQuoted", L"one"},
        {L"Java Runtime Environment", L"HalfQuoted", L"\"open"},
        {L"Java Runtime Environment", L"Inner", L"a \"b\" c"},
        {L"Java Runtime Environment", L"Commented", L""},
        {L"Java Runtime Environment", L"Dup", L"first"},
        {L"Java Runtime Environment", L"Missing", L""},
        {L"Missing Section", L"Main Class", L""},
    };
    for (const Row& row : rows) {
        std::wstring value = L"stale";
        ini.getValue(row.section, row.key, value);
        EXPECT_EQ(value, row.expected) << std::string(row.key, row.key + wcslen(row.key));
    }
}

TEST(IniFile, Utf16FileWithByteOrderMark)
{
    WorkFolder work;
    work.writeFile(L"u.ini", utf16le(L"[Application]\r\nName=caf\x00E9 \x20AC \x4E2D\r\nCmd=--x\r\n"));
    IniFile ini(work.path(L"u.ini"));
    EXPECT_EQ(ini.readValue(L"Application", L"Name"), L"caf\x00E9 \x20AC \x4E2D");
    EXPECT_EQ(ini.readValue(L"application", L"cmd"), L"--x");
    std::vector<std::wstring> names;
    ini.listSections(names);
    EXPECT_EQ(names, std::vector<std::wstring>{L"Application"});
}

TEST(IniFile, MissingFile)
{
    WorkFolder work;
    IniFile ini(work.path(L"missing.ini"));
    std::wstring value = L"stale";
    ini.getValue(L"Application", L"Cmd", value);
    EXPECT_EQ(value, L"");
    std::vector<std::wstring> names{L"stale"};
    ini.listSections(names);
    EXPECT_TRUE(names.empty());
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(ini.probe(buffer), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(ini.removeStore());
}

TEST(IniFile, WriteListProbeRemove)
{
    WorkFolder work;
    IniFile ini(work.path(L"w.ini"));
    EXPECT_NE(ini.setValue(L"Java Runtime Environment", L"JRE Path", L"C:\\jre\\"), 0);
    EXPECT_NE(ini.setValue(L"Second", L"k", L"1"), 0);
    EXPECT_NE(ini.setValue(L"Java Runtime Environment", L"JRE Path", L"D:\\other\\"), 0);
    EXPECT_EQ(ini.readValue(L"Java Runtime Environment", L"JRE Path"), L"D:\\other\\");

    // Enough sections that the name list needs more than the first buffer.
    for (int i = 0; i < 40; ++i) {
        ini.setValue(L"Section number " + std::to_wstring(i), L"k", L"v");
    }
    std::vector<std::wstring> names;
    ini.listSections(names);
    ASSERT_EQ(names.size(), 42u);
    EXPECT_EQ(names[0], L"Java Runtime Environment");
    EXPECT_EQ(names[1], L"Second");
    EXPECT_EQ(names[41], L"Section number 39");

    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(ini.probe(buffer), 0u);
    EXPECT_EQ(buffer[0], '[');
    EXPECT_TRUE(ini.removeStore());
    EXPECT_EQ(ini.probe(buffer), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}

TEST(IniFile, ProbeOfALockedFileReportsTheSharingError)
{
    WorkFolder work;
    work.writeFile(L"l.ini", "[A]\r\n");
    HANDLE held = ::CreateFileW(work.path(L"l.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(IniFile(work.path(L"l.ini")).probe(buffer), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    ::CloseHandle(held);
}

TEST(IniFile, LayeredOverARealFile)
{
    WorkFolder work;
    work.writeFile(L"App.ini",
                   "[java runtime environment]\r\n"
                   "main class=org.example.FromFile\r\n"
                   "[Java Runtime Environment+]\r\n"
                   "Virtual Machine Parameters=-Dfile=1\r\n"
                   "[Application+]\r\n"
                   "Cmd=\" --quoted-extension\"\r\n");
    LayeredIniFile layered(std::make_unique<IniFile>(work.path(L"App.ini")));
    layered.document().parse(
        L"[Java Runtime Environment]\r\nMain Class=org.example.Embedded\r\n"
        L"Virtual Machine Parameters=-Dembedded=1\r\nJVM Type=server\r\n"
        L"[Application]\r\nCmd=--embedded\r\n");
    EXPECT_EQ(layered.readValue(L"Java Runtime Environment", L"Main Class"), L"org.example.FromFile");
    EXPECT_EQ(layered.readValue(L"Java Runtime Environment", L"Virtual Machine Parameters"), L"-Dembedded=1 -Dfile=1");
    EXPECT_EQ(layered.readValue(L"Java Runtime Environment", L"JVM Type"), L"server");
    // The platform removes the quotes, so the extension value starts with a
    // space and is appended as it is.
    EXPECT_EQ(layered.readValue(L"Application", L"Cmd"), L"--embedded --quoted-extension");
}

} // namespace
