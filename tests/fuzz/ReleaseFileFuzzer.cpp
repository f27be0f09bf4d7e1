// A runtime's `release` file: any bytes, as a JAVA_HOME folder may hold them.
#include <string>

#include "FuzzInput.h"
#include "runtime/ReleaseFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ExactBytes bytes(data, size);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), size);
    const std::optional<VersionNumber> version = releaseFileVersion(text);
    if (version) {
        for (std::int32_t component : version->components) {
            fuzzCheck(component >= 0);
        }
        // A version is only ever read from a JAVA_VERSION line.
        fuzzCheck(text.find("JAVA_VERSION=") != std::string_view::npos);
    }
    // Lines before the version line do not change what it states.
    const std::string padded = "IMPLEMENTOR=\"x\"\r\nJAVA_VERSIONS=\"9\"\n" + std::string(text);
    const std::optional<VersionNumber> again = releaseFileVersion(padded);
    const bool firstLineIsVersion = text.substr(0, 13) == "JAVA_VERSION=";
    if (firstLineIsVersion) {
        fuzzCheck(again.has_value() == version.has_value());
        fuzzCheck(!version || compareVersions(*again, *version) == 0);
    }
    return 0;
}
