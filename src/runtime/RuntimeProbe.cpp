#include "runtime/RuntimeProbe.h"

#include <vector>

namespace {

const wchar_t kServer[] = L"bin\\server\\jvm.dll";
const wchar_t kClient[] = L"bin\\client\\jvm.dll";
const wchar_t kClassic[] = L"bin\\classic\\jvm.dll";
const wchar_t kHotspot[] = L"bin\\hotspot\\jvm.dll";
const wchar_t kJrockit[] = L"bin\\jrockit\\jvm.dll";

std::vector<const wchar_t*> subPathsFor(JvmType jvmType)
{
    switch (jvmType) {
    case JvmType::ServerOnly:
        return {kServer};
    case JvmType::FavorServer:
        // The server library is tried again in its ClientFirst place; the
        // repeat finds nothing new but keeps the two orders alike.
        return {kServer, kClient, kClassic, kHotspot, kServer, kJrockit};
    case JvmType::ClientFirst:
        break;
    }
    return {kClient, kClassic, kHotspot, kServer, kJrockit};
}

} // namespace

std::wstring findJvmLibrary(const std::wstring& homeFolder, JvmType jvmType, bool& hasServerVm,
                            const PathExists& exists)
{
    for (const wchar_t* subPath : subPathsFor(jvmType)) {
        const std::wstring candidate = homeFolder + subPath;
        if (exists(candidate)) {
            hasServerVm = subPath == kServer;
            return candidate;
        }
    }
    return std::wstring();
}

bool hasJavaRuntimeMarker(const std::wstring& folder, const PathExists& exists)
{
    return exists(folder + L"bin\\java.dll");
}

std::wstring describeCandidate(const RuntimeCandidate& candidate)
{
    return formatVersion(candidate.version) + L" at " + candidate.homeFolder +
           (candidate.hasServerVm ? L", server VM" : L"") + (candidate.preferred ? L", preferred" : L"");
}
