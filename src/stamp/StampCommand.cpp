#include "stamp/StampCommand.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>

#include "LauncherVersion.h"
#include "stamp/LauncherStamp.h"
#include "stamp/StampText.h"
#include "util/PeHeaders.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kMaxInputSize = 256u << 20;

constexpr const char* kUsage =
    "usage: launcher-stamp <launcher.exe> <MyApp.exe> [options]\n"
    "Copies the launcher to MyApp.exe and replaces, in the copy:\n"
    "  --icon FILE.ico         the icon (every image of the file)\n"
    "  --version 1.2.3.4       the file and product version\n"
    "  --product-name TEXT     the product name (and the description, unless given)\n"
    "  --company TEXT          the company name\n"
    "  --description TEXT      the file description\n"
    "  --copyright TEXT        the copyright notice\n"
    "  --settings FILE.ini     the embedded settings (a UTF-8 ini file)\n"
    "  --manifest FILE         the application manifest\n"
    "  --subsystem FORM        console or windows: the console or the windowed form\n"
    "launcher-stamp --version prints the version of the tool.\n";

struct CommandLine {
    std::vector<std::string> files;   // the launcher and the output
    std::optional<std::string> icon, version, productName, company, description, copyright, settings, manifest,
        subsystem;
    bool help = false;
};

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& problem)
{
    CommandLine line;
    const std::pair<const char*, std::optional<std::string>*> options[] = {
        {"--icon", &line.icon},         {"--version", &line.version},   {"--product-name", &line.productName},
        {"--company", &line.company},   {"--description", &line.description}, {"--copyright", &line.copyright},
        {"--settings", &line.settings}, {"--manifest", &line.manifest}, {"--subsystem", &line.subsystem},
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "-h" || name == "--help") {
            line.help = true;
            return line;
        }
        if (name.size() < 2 || name.compare(0, 2, "--") != 0) {
            line.files.push_back(name);
            continue;
        }
        std::optional<std::string> value;
        const std::size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        std::optional<std::string>* target = nullptr;
        for (const auto& option : options) {
            if (name == option.first) {
                target = option.second;
            }
        }
        if (target == nullptr) {
            problem = "unknown option " + name;
            return std::nullopt;
        }
        if (!value || value->empty()) {
            problem = name + " needs a value";
            return std::nullopt;
        }
        if (*target) {
            problem = name + " is given twice";
            return std::nullopt;
        }
        *target = value;
    }
    if (line.files.size() != 2) {
        problem = "expected the launcher and the output file, got " + std::to_string(line.files.size()) + " file names";
        return std::nullopt;
    }
    return line;
}

// The bytes of a file; nothing, and `problem` says why, when it cannot be read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path, std::string& problem)
{
    std::error_code error;
    const fs::path file = fs::u8path(path);
    if (!fs::is_regular_file(file, error)) {
        problem = "no such file";
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size > kMaxInputSize) {
        problem = error ? "cannot be read" : "larger than 256 MB";
        return std::nullopt;
    }
    std::ifstream stream(file, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!stream || !stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        problem = "cannot be read";
        return std::nullopt;
    }
    return bytes;
}

bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream stream(fs::u8path(path), std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    stream.close();
    return static_cast<bool>(stream);
}

// Removes the file at the output path; never a folder that happens to be there.
void removeOutput(const std::string& path)
{
    std::error_code ignored;
    if (fs::is_regular_file(fs::u8path(path), ignored)) {
        fs::remove(fs::u8path(path), ignored);
    }
}

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return fs::equivalent(fs::u8path(a), fs::u8path(b), error) && !error;
}

// Why the command stops: the file or option concerned and what is wrong with it.
struct Refusal {
    std::string subject;
    std::string text;
};

// The version and the version texts of the command line, and the output's
// file name, in the request; a refusal when the version is no version.
std::optional<Refusal> takeVersionAndTexts(const CommandLine& line, const std::string& output, StampRequest& request)
{
    if (line.version) {
        request.version = parseVersionNumber(*line.version);
        if (!request.version) {
            return Refusal{"--version " + *line.version, "not a version of one to four numbers 0-65535 separated by dots"};
        }
    }
    const std::pair<const std::optional<std::string>*, std::optional<std::u16string>*> texts[] = {
        {&line.productName, &request.productName},
        {&line.company, &request.company},
        {&line.description, &request.description},
        {&line.copyright, &request.copyright},
    };
    for (const auto& text : texts) {
        if (*text.first) {
            *text.second = utf16FromUtf8(**text.first);
        }
    }
    request.outputName = utf16FromUtf8(fs::u8path(output).filename().u8string());
    return std::nullopt;
}

// The subsystem the command line asks for, in the request; a refusal for
// anything but the launcher's two forms.
std::optional<Refusal> takeSubsystem(const CommandLine& line, StampRequest& request)
{
    if (!line.subsystem) {
        return std::nullopt;
    }
    if (*line.subsystem == "console") {
        request.subsystem = kSubsystemWindowsConsole;
    } else if (*line.subsystem == "windows") {
        request.subsystem = kSubsystemWindowsGui;
    } else {
        return Refusal{"--subsystem " + *line.subsystem, "not a subsystem; use console or windows"};
    }
    return std::nullopt;
}

// The icon, settings and manifest files the command line names, read into
// the request; a refusal for the first one that cannot be read.
std::optional<Refusal> readNamedFiles(const CommandLine& line, StampRequest& request)
{
    const std::pair<const std::optional<std::string>*, std::optional<std::vector<std::uint8_t>>*> files[] = {
        {&line.icon, &request.icon},
        {&line.settings, &request.settings},
        {&line.manifest, &request.manifest},
    };
    std::string problem;
    for (const auto& file : files) {
        if (*file.first) {
            *file.second = readWholeFile(**file.first, problem);
            if (!*file.second) {
                return Refusal{**file.first, problem};
            }
        }
    }
    return std::nullopt;
}

// The name under which a refusal of the stamp reports the input it concerns.
std::string refusedInput(const CommandLine& line, const std::string& launcher, StampInput input)
{
    switch (input) {
    case StampInput::Launcher: break;
    case StampInput::Icon: return *line.icon;
    case StampInput::Settings: return *line.settings;
    case StampInput::Manifest: return *line.manifest;
    case StampInput::Texts: return "version texts";
    }
    return launcher;
}

void reportStamped(std::ostream& out, const std::string& input, std::size_t inputSize, const std::string& output,
                   const StampOutcome& outcome)
{
    out << "Stamped " << output << " (" << outcome.image.size() << " bytes) from " << input << " (" << inputSize
        << " bytes):\n";
    for (const std::string& stamped : outcome.stamped) {
        out << "  " << stamped << "\n";
    }
}

} // namespace

int runStampCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    // Alone, --version asks for the tool's version; with files it is the version to stamp.
    if (arguments.size() == 1 && arguments[0] == "--version") {
        out << "launcher-stamp " << LAUNCHER_VERSION_TEXT << "\n";
        return kStampExitOk;
    }
    std::string problem;
    const std::optional<CommandLine> line = parseCommandLine(arguments, problem);
    if (!line) {
        err << "launcher-stamp: " << problem << "\n" << kUsage;
        return kStampExitRefused;
    }
    if (line->help) {
        out << kUsage;
        return kStampExitOk;
    }
    const std::string& input = line->files[0];
    const std::string& output = line->files[1];
    if (sameFile(input, output)) {
        err << "launcher-stamp: " << output << ": the output must be another file than the launcher\n";
        return kStampExitRefused;
    }
    auto refuse = [&](const std::string& subject, const std::string& text) {
        removeOutput(output);
        err << "launcher-stamp: " << subject << ": " << text << "\n";
        return kStampExitRefused;
    };

    StampRequest request;
    if (const std::optional<Refusal> refusal = takeVersionAndTexts(*line, output, request)) {
        return refuse(refusal->subject, refusal->text);
    }
    if (const std::optional<Refusal> refusal = takeSubsystem(*line, request)) {
        return refuse(refusal->subject, refusal->text);
    }
    const std::optional<std::vector<std::uint8_t>> launcher = readWholeFile(input, problem);
    if (!launcher) {
        return refuse(input, problem);
    }
    if (const std::optional<Refusal> refusal = readNamedFiles(*line, request)) {
        return refuse(refusal->subject, refusal->text);
    }

    const StampOutcome outcome = stampLauncher(launcher->data(), launcher->size(), request);
    if (!outcome.ok) {
        return refuse(refusedInput(*line, input, outcome.input), outcome.problem);
    }
    if (!writeWholeFile(output, outcome.image)) {
        removeOutput(output);
        err << "launcher-stamp: " << output << ": cannot be written\n";
        return kStampExitWriteFailed;
    }
    reportStamped(out, input, launcher->size(), output, outcome);
    if (outcome.signatureRemoved) {
        err << "launcher-stamp: " << input << " was signed; " << output
            << " carries no signature: sign it again before shipping it\n";
    }
    return kStampExitOk;
}
