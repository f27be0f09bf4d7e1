#include "util/ImageSubsystem_win.h"

#include <windows.h>

#include "util/PeHeaders.h"

std::uint16_t runningImageSubsystem()
{
    // The headers lie in the image's first page, which stays mapped.
    const auto* image = reinterpret_cast<const std::uint8_t*>(::GetModuleHandleW(nullptr));
    const std::optional<PeHeaders> headers = image != nullptr ? readPeHeaders(image, 4096) : std::nullopt;
    return headers ? headers->subsystem : 0;
}
