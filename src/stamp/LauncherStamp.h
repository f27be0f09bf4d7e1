#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "stamp/VersionResource.h"

// Stamping a copy of the launcher: its icon, version information, embedded
// settings and manifest replaced, every other resource kept byte for byte.
//
// An executable counts as a launcher built by this project when it is an x64
// image of the Windows GUI or console subsystem (launcher.exe and
// launcher-console.exe, the same program linked twice) whose resources hold the embedded settings (RCDATA 300 starting with
// "ESv1" and a length that fits), the string 214 "Browse for JRE folder", the
// icon group 1 and a version resource 1. A stamped copy still passes, so a
// copy can be stamped again.

struct StampRequest {
    std::optional<std::vector<std::uint8_t>> icon;       // an .ico file
    std::optional<VersionNumber4> version;               // file and product version
    std::optional<std::u16string> productName;
    std::optional<std::u16string> company;
    std::optional<std::u16string> description;           // defaults to the product name when that is given
    std::optional<std::u16string> copyright;
    std::optional<std::vector<std::uint8_t>> settings;   // a UTF-8 ini file
    std::optional<std::vector<std::uint8_t>> manifest;   // an application manifest (UTF-8 XML)
    std::u16string outputName;                           // file name of the copy ("MyApp.exe")
    std::optional<std::uint16_t> subsystem;              // kSubsystemWindowsGui or kSubsystemWindowsConsole
};

// Which input a refusal is about.
enum class StampInput { Launcher, Icon, Settings, Manifest, Texts };

struct StampOutcome {
    bool ok = false;
    StampInput input = StampInput::Launcher;   // when not ok: the input at fault
    std::string problem;                       // when not ok: what is wrong with it
    std::vector<std::uint8_t> image;           // when ok: the stamped copy
    std::vector<std::string> stamped;          // when ok: one line per thing replaced
    bool signatureRemoved = false;             // when ok: the input was signed; the copy is not
};

// The stamped copy of the launcher image in `data`, or the reason it cannot
// be made. The input bytes are only read. A signed launcher gives an
// unsigned copy, to be signed again after stamping.
StampOutcome stampLauncher(const std::uint8_t* data, std::size_t size, const StampRequest& request);

// Why `bytes` are no text the launcher can read as its settings or manifest
// (UTF-16, NUL bytes, invalid UTF-8); empty when they are UTF-8 text.
std::string textProblem(const std::vector<std::uint8_t>& bytes);
