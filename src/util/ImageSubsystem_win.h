#pragma once
#include <cstdint>

// The subsystem field of the running executable's own PE header, as the
// linker or the stamp tool wrote it (kSubsystemWindowsGui,
// kSubsystemWindowsConsole); 0 when it cannot be read.
std::uint16_t runningImageSubsystem();
