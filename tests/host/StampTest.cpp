// The stamp tool on the built launcher: what a stamped copy holds, read back
// through the PE readers, and what the tool refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "LauncherVersion.h"
#include "config/EmbeddedSettings.h"
#include "stamp/LauncherStamp.h"
#include "stamp/PeResources.h"
#include "stamp/ResourceTree.h"
#include "stamp/StampCommand.h"
#include "util/ByteIo.h"
#include "util/PeHeaders.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// `path` is UTF-8 (the build tree's path may hold characters outside ASCII);
// on Windows it is opened by its wide name.
Bytes readBytes(const std::string& path)
{
    std::ifstream stream(std::filesystem::u8path(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The launcher comes from the Windows build; the host build alone has none.
// The Windows build makes it before these tests: there, one it cannot read
// is a failure, not a reason to skip.
Bytes launcherBytes()
{
    Bytes bytes = readBytes(STAMP_TEST_LAUNCHER);
#ifdef _WIN32
    EXPECT_FALSE(bytes.empty()) << "cannot read " << STAMP_TEST_LAUNCHER;
#endif
    return bytes;
}

std::vector<ResourceEntry> resourcesOf(const Bytes& image)
{
    std::string problem;
    const std::optional<PeResourceLayout> layout = readPeResourceLayout(image.data(), image.size(), problem);
    EXPECT_TRUE(layout.has_value()) << problem;
    if (!layout) {
        return {};
    }
    const Bytes section = resourceSectionBytes(image.data(), image.size(), *layout);
    return parseResourceSection(section.data(), section.size(), layout->resourceRva, problem).value_or(
        std::vector<ResourceEntry>());
}

// A one-image .ico file holding a 16x16 bitmap.
Bytes smallIcon()
{
    Bytes ico = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 48, 0, 0, 0, 22, 0, 0, 0};
    const Bytes header = {40, 0, 0, 0, 16, 0, 0, 0, 32, 0, 0, 0, 1, 0, 32, 0};
    ico.insert(ico.end(), header.begin(), header.end());
    ico.resize(ico.size() + 32, 0);
    return ico;
}

// The launcher as a signer leaves it: a certificate table (one WIN_CERTIFICATE
// header and its content) appended and named by data directory 4, whose
// "address" is a file offset.
Bytes signedCopy(Bytes image)
{
    const std::size_t directory = image[0x3C] + (image[0x3D] << 8) + 24 + 112 + 8 * 4;
    const std::size_t offset = image.size();
    const Bytes table = {16, 0, 0, 0, 0, 2, 2, 0, 'P', 'K', 'C', 'S', '#', '7', 0, 0};
    image.insert(image.end(), table.begin(), table.end());
    for (std::size_t i = 0; i < 4; ++i) {
        image[directory + i] = static_cast<std::uint8_t>(offset >> (8 * i));
        image[directory + 4 + i] = static_cast<std::uint8_t>(table.size() >> (8 * i));
    }
    return image;
}

StampRequest fullRequest()
{
    StampRequest request;
    request.icon = readBytes(STAMP_TEST_ICON);
    request.version = VersionNumber4{1, 2, 3, 4};
    request.productName = u"Acme Viewer";
    request.company = u"Acme";
    request.settings = bytesOf("[Java Runtime Environment]\nMain Class=org.example.App\n");
    request.outputName = u"MyApp.exe";
    return request;
}

TEST(Stamp, ReplacesIconVersionAndSettingsAndKeepsEverythingElse)
{
    const Bytes launcher = launcherBytes();
    if (launcher.empty()) {
        GTEST_SKIP() << "no " << STAMP_TEST_LAUNCHER << " (build the win64 preset's launcher first)";
    }
    const StampOutcome outcome = stampLauncher(launcher.data(), launcher.size(), fullRequest());
    ASSERT_TRUE(outcome.ok) << outcome.problem;
    const Bytes& image = outcome.image;
    const std::optional<PeHeaders> headers = readPeHeaders(image.data(), image.size());
    ASSERT_TRUE(headers.has_value());
    EXPECT_EQ(headers->subsystem, kSubsystemWindowsGui);
    // Code, data and the import table lie before the resources: untouched.
    std::string problem;
    const std::optional<PeResourceLayout> layout = readPeResourceLayout(launcher.data(), launcher.size(), problem);
    ASSERT_TRUE(layout.has_value()) << problem;
    const std::size_t pointer = layout->sectionTable + 20;  // the first section's raw data pointer
    const std::size_t firstSection = launcher[pointer] | launcher[pointer + 1] << 8 | launcher[pointer + 2] << 16;
    EXPECT_TRUE(std::equal(launcher.begin() + firstSection, launcher.begin() + layout->resourceRawOffset,
                           image.begin() + firstSection));

    const std::vector<ResourceEntry> before = resourcesOf(launcher);
    const std::vector<ResourceEntry> after = resourcesOf(image);
    const ResourceEntry* group = findResource(after, kResourceGroupIcon, 1);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->data.size(), 6u + 4 * 14);
    std::vector<int> widths;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::uint8_t* entry = group->data.data() + 6 + 14 * i;
        widths.push_back(entry[0] == 0 ? 256 : entry[0]);
        const ResourceEntry* icon = findResource(after, kResourceIcon, static_cast<std::uint16_t>(entry[12] | entry[13] << 8));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->data.size(), static_cast<std::size_t>(entry[8] | entry[9] << 8 | entry[10] << 16));
    }
    EXPECT_EQ(widths, (std::vector<int>{16, 32, 48, 256}));

    const ResourceEntry* version = findResource(after, kResourceVersion, 1);
    const std::optional<VersionInfo> info = parseVersionInfo(version->data.data(), version->data.size());
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->fileVersion, (VersionNumber4{1, 2, 3, 4}));
    EXPECT_EQ(info->productVersion, (VersionNumber4{1, 2, 3, 4}));
    EXPECT_EQ(info->value(u"ProductVersion"), u"1.2.3.4");
    EXPECT_EQ(info->value(u"ProductName"), u"Acme Viewer");
    EXPECT_EQ(info->value(u"FileDescription"), u"Acme Viewer");
    EXPECT_EQ(info->value(u"CompanyName"), u"Acme");
    EXPECT_EQ(info->value(u"OriginalFilename"), u"MyApp.exe");

    const ResourceEntry* settings = findResource(after, kResourceRcData, kEmbeddedSettingsResourceId);
    EXPECT_EQ(decodeEmbeddedSettings(settings->data.data(), settings->data.size()),
              L"[Java Runtime Environment]\r\nMain Class=org.example.App\r\n");

    // The string table, the dialogs and the manifest stay byte for byte.
    std::size_t kept = 0;
    for (const ResourceEntry& old : before) {
        if (old.type.isNumber(kResourceString) || old.type.isNumber(5) || old.type.isNumber(kResourceManifest)) {
            const ResourceEntry* now = findResource(after, old.type.number, old.name.number);
            ASSERT_NE(now, nullptr);
            EXPECT_EQ(now->data, old.data);
            ++kept;
        }
    }
    EXPECT_GE(kept, 3u);

    // Stamping the copy again the same way changes nothing, and so does a
    // signature on it: table and directory entry go, the checksum follows.
    EXPECT_FALSE(outcome.signatureRemoved);
    for (const Bytes& input : {image, signedCopy(image)}) {
        const StampOutcome again = stampLauncher(input.data(), input.size(), fullRequest());
        EXPECT_TRUE(again.ok && again.image == image) << again.problem;
        EXPECT_EQ(again.signatureRemoved, input.size() != image.size());
    }

    // The console form asked for: its subsystem field and the checksum before it change, nothing else.
    StampRequest console = fullRequest();
    console.subsystem = kSubsystemWindowsConsole;
    Bytes switched = stampLauncher(launcher.data(), launcher.size(), console).image;
    const std::size_t checksum = layout->optionalHeader + 64;
    ASSERT_EQ(switched.size(), image.size());
    EXPECT_EQ((ByteReader{switched.data(), switched.size()}.u32(checksum)), peChecksum(switched.data(), switched.size(), checksum));
    std::copy(image.begin() + checksum, image.begin() + checksum + 6, switched.begin() + checksum);
    EXPECT_EQ(switched, image);
}

TEST(Stamp, RefusesBadInput)
{
    const Bytes launcher = launcherBytes();
    if (launcher.empty()) {
        GTEST_SKIP() << "no " << STAMP_TEST_LAUNCHER;
    }
    auto patched = [&](const std::function<void(Bytes&)>& change) {
        Bytes copy = launcher;
        change(copy);
        return copy;
    };
    const std::size_t optionalHeader = launcher[0x3C] + (launcher[0x3D] << 8) + 24;
    Bytes lyingCount = smallIcon();
    lyingCount[4] = 3;
    Bytes lyingOffset = smallIcon();
    lyingOffset[18] = 200;
    Bytes wrongSize = smallIcon();
    wrongSize[6] = wrongSize[7] = 48;
    Bytes cursor = smallIcon();
    cursor[2] = 2;
    struct Row {
        const char* name;
        Bytes launcher;
        std::function<void(StampRequest&)> request;
        StampInput input;
        const char* problem;
    };
    const Row rows[] = {
        {"non-PE file", bytesOf("hello"), {}, StampInput::Launcher, "does not start with \"MZ\""},
        {"truncated in the headers", Bytes(launcher.begin(), launcher.begin() + 200), {}, StampInput::Launcher, "truncated"},
        {"truncated in a section", Bytes(launcher.begin(), launcher.begin() + launcher.size() / 2), {}, StampInput::Launcher,
         "truncated"},
        {"another program", patched([](Bytes& b) {
             const auto at = std::search(b.rbegin(), b.rend(), std::begin("1vSE") , std::end("1vSE") - 1);
             at[0] = '2';
         }),
         {}, StampInput::Launcher, "not a launcher built by this project (no embedded settings"},
        {"data appended", patched([](Bytes& b) { b.push_back('P'); }), {}, StampInput::Launcher, "1 bytes after its last section"},
        {"signature table elsewhere", patched([&](Bytes& b) { b[optionalHeader + 112 + 8 * 4 + 4] = 8; }), {},
         StampInput::Launcher, "signed, but its certificate table does not lie right after its last section"},
        {"data after the signature", patched([](Bytes& b) { b = signedCopy(b); b.push_back('P'); }), {},
         StampInput::Launcher, "signed, but its certificate table does not lie right after"},
        {"native subsystem", patched([&](Bytes& b) { b[optionalHeader + 68] = 1; }), {}, StampInput::Launcher,
         "not a launcher built by this project (neither a GUI nor a console program)"},
        {"ico too short", launcher, [](StampRequest& r) { r.icon = Bytes{0, 0, 1, 0, 1, 0}; }, StampInput::Icon, "too short"},
        {"ico lying count", launcher, [&](StampRequest& r) { r.icon = lyingCount; }, StampInput::Icon,
         "image 1 overlaps the icon directory"},
        {"ico lying offset", launcher, [&](StampRequest& r) { r.icon = lyingOffset; }, StampInput::Icon,
         "image 1 lies outside the file (offset 200"},
        {"ico lying size", launcher, [&](StampRequest& r) { r.icon = wrongSize; }, StampInput::Icon,
         "gives 48x48 for a bitmap of 16x16"},
        {"cursor", launcher, [&](StampRequest& r) { r.icon = cursor; }, StampInput::Icon, "a cursor file"},
        {"settings UTF-16", launcher, [](StampRequest& r) { r.settings = Bytes{0xFF, 0xFE, '[', 0}; }, StampInput::Settings, "UTF-16"},
        {"settings binary", launcher, [](StampRequest& r) { r.settings = Bytes{'a', 0, 'b'}; }, StampInput::Settings, "NUL"},
        {"settings Latin-1", launcher, [](StampRequest& r) { r.settings = bytesOf("k=\xE9t\xE9"); }, StampInput::Settings,
         "not UTF-8"},
        {"manifest", launcher, [](StampRequest& r) { r.manifest = bytesOf("<xml/>"); }, StampInput::Manifest, "no <assembly>"},
    };
    for (const Row& row : rows) {
        StampRequest request;
        if (row.request) {
            row.request(request);
        }
        const StampOutcome outcome = stampLauncher(row.launcher.data(), row.launcher.size(), request);
        EXPECT_FALSE(outcome.ok) << row.name;
        EXPECT_EQ(outcome.input, row.input) << row.name;
        EXPECT_NE(outcome.problem.find(row.problem), std::string::npos) << row.name << ": " << outcome.problem;
        EXPECT_TRUE(outcome.image.empty()) << row.name;
    }
}

TEST(Stamp, CommandLeavesNoOutputWhenItRefuses)
{
    const Bytes launcher = launcherBytes();
    if (launcher.empty()) {
        GTEST_SKIP() << "no " << STAMP_TEST_LAUNCHER;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("launcher-stamp-test-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(folder);
    const std::string in = (folder / "launcher.exe").string();
    const std::string out = (folder / "MyApp.exe").string();
    const std::string badIcon = (folder / "bad.ico").string();
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(launcher.data()), launcher.size());
    std::ofstream(badIcon) << "not an icon";
    const std::string signedIn = (folder / "signed.exe").string();
    const Bytes signedLauncher = signedCopy(launcher);
    std::ofstream(signedIn, std::ios::binary).write(reinterpret_cast<const char*>(signedLauncher.data()), signedLauncher.size());
    const std::string console = (folder / "launcher-console.exe").string();
    Bytes consoleLauncher = launcher;
    consoleLauncher[launcher[0x3C] + (launcher[0x3D] << 8) + 24 + 68] = kSubsystemWindowsConsole;
    std::ofstream(console, std::ios::binary).write(reinterpret_cast<const char*>(consoleLauncher.data()), launcher.size());
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int exitCode;
        bool outputLeft;
        std::uint16_t subsystem;   // of the output left
        std::string message;
    };
    const Row rows[] = {
        {"stamped", {in, out, "--version=2.0"}, 0, true, kSubsystemWindowsGui, "  version: 2.0.0.0\n"},
        {"signed input", {signedIn, out}, 0, true, kSubsystemWindowsGui,
         "was signed; " + out + " carries no signature: sign it again"},
        {"tool version", {"--version"}, 0, true, kSubsystemWindowsGui, "launcher-stamp " LAUNCHER_VERSION_TEXT "\n"},
        {"bad icon removes the earlier output", {in, out, "--icon", badIcon}, 2, false, 0, "bad.ico: not an icon file"},
        {"bad version", {in, out, "--version", "1.x"}, 2, false, 0, "not a version"},
        {"output is the input", {in, in}, 2, false, 0, "another file than the launcher"},
        {"unknown option", {in, out, "--colour", "red"}, 2, false, 0, "unknown option --colour"},
        {"missing file", {in, out, "--settings", (folder / "none.ini").string()}, 2, false, 0, "none.ini: no such file"},
        {"to console", {in, out, "--subsystem", "console"}, 0, true, kSubsystemWindowsConsole, "  subsystem: console\n"},
        {"unknown subsystem", {in, out, "--subsystem", "gui"}, 2, false, 0, "--subsystem gui: not a subsystem"},
        {"console input kept", {console, out, "--version=3"}, 0, true, kSubsystemWindowsConsole, "version: 3.0.0.0"},
        {"console input to windows", {console, out, "--subsystem=windows"}, 0, true, kSubsystemWindowsGui, "subsystem: windows"},
    };
    for (const Row& row : rows) {
        std::ostringstream report;
        EXPECT_EQ(runStampCommand(row.arguments, report, report), row.exitCode) << row.name;
        EXPECT_NE(report.str().find(row.message), std::string::npos) << row.name << ": " << report.str();
        EXPECT_EQ(std::filesystem::exists(out), row.outputLeft) << row.name;
        const Bytes left = readBytes(out);
        EXPECT_EQ(readPeHeaders(left.data(), left.size()).value_or(PeHeaders()).subsystem, row.subsystem) << row.name;
        EXPECT_EQ(readBytes(in), launcher) << row.name;
    }
    std::filesystem::remove_all(folder);
}

} // namespace
