#include "config/SettingsReader.h"

#include <algorithm>

#include "config/SettingKeys.h"
#include "config/SplitList.h"
#include "util/MessageIds.h"
#include "util/AsciiText.h"

namespace {

struct ProviderRow {
    const wchar_t* value;
    bool jrockitAllowed;
    bool jrockitFavoured;
    bool javaSoftAllowed;
    bool javaSoftFavoured;
    bool ibmAllowed;
    bool ibmFavoured;
};

// "VM Provider" values, compared in this order.
const ProviderRow kProviderRows[] = {
    {L"jrockit", true, true, false, false, false, false},
    {L"ibm", false, false, false, false, true, true},
    {L"favor_sun", true, false, true, true, true, false},
    {L"favor_jrockit", true, true, true, false, true, false},
    {L"favor_ibm", true, false, true, false, true, true},
    {L"any", true, false, true, false, true, false},
};

} // namespace

bool isYesInsensitive(const std::wstring& value)
{
    return equalsIgnoringAsciiCase(value, L"Yes");
}

std::unique_ptr<LayeredIniFile> openLayeredSettings(SettingsSource& source)
{
    auto layered = std::make_unique<LayeredIniFile>(source.openMainFile());
    layered->document().parse(source.embeddedSettingsText());
    return layered;
}

void applyJvmSource(const std::wstring& value, RuntimeSearchFilter& filter)
{
    if (!value.empty()) {
        filter.searchBothKinds = value == L"favor_JRE" || value == L"favor_JDK";
    }
    filter.jdkKind = value == L"favor_JDK" || value == L"only_JDK" || value.empty();
    filter.jreKind = value == L"favor_JRE" || value == L"only_JRE" || value.empty();
}

void applyVmProvider(const std::wstring& value, RuntimeSearchFilter& filter)
{
    if (value.empty()) {
        return;
    }
    for (const ProviderRow& row : kProviderRows) {
        if (equalsIgnoringAsciiCase(value, row.value)) {
            filter.jrockitAllowed = row.jrockitAllowed;
            filter.jrockitFavoured = row.jrockitFavoured;
            filter.javaSoftAllowed = row.javaSoftAllowed;
            filter.javaSoftFavoured = row.javaSoftFavoured;
            filter.ibmAllowed = row.ibmAllowed;
            filter.ibmFavoured = row.ibmFavoured;
            return;
        }
    }
}

JvmType jvmTypeFromSetting(const std::wstring& value)
{
    if (value == L"server") {
        return JvmType::ServerOnly;
    }
    if (value == L"favor_server") {
        return JvmType::FavorServer;
    }
    return JvmType::ClientFirst;
}

Expected<void> readSettings(LauncherSettings& settings, SettingsSource& source, const Trace& trace)
{
    const std::unique_ptr<LayeredIniFile> layered = openLayeredSettings(source);
    return readSettings(settings, *layered, source, trace);
}

Expected<void> readSettings(LauncherSettings& settings, const LayeredIniFile& layered, SettingsSource& source,
                  const Trace& trace)
{
    const auto traced = [&trace](const wchar_t* section, const wchar_t* key, const std::wstring& value,
                                 const wchar_t* where) {
        if (!value.empty()) {
            trace.line({L"setting [", section, L"] ", key, L" = ", value, where});
        }
        return value;
    };
    // The product keys come from the plain main file only.
    const ConfigStore& mainFile = layered.file();
    settings.productCode = traced(kSectionProductInformation, kKeyProductCode,
                                  mainFile.readValue(kSectionProductInformation, kKeyProductCode), L"");
    settings.productName = traced(kSectionProductInformation, kKeyProductName,
                                  mainFile.readValue(kSectionProductInformation, kKeyProductName), L"");

    const auto read = [&layered, &traced](const wchar_t* section, const wchar_t* key) {
        return traced(section, key, layered.readValue(section, key), L"");
    };

    const std::wstring minimum = read(kSectionJavaRuntime, kKeyMinimumVersion);
    const std::wstring maximum = read(kSectionJavaRuntime, kKeyMaximumVersion);
    settings.versionRange = versionRangeFromSettings(minimum, maximum);

    settings.isService = read(kSectionApplication, kKeyApplicationType) == kValueService;
    settings.preferredVersions = splitList(read(kSectionJavaRuntime, kKeyPreferredVersions), L";");

    // A per-user file, once it exists, alone decides "JRE Path" for a
    // normal application, even when its value is empty.
    std::unique_ptr<ConfigStore> perUser;
    if (!settings.isService) {
        perUser = source.openExistingPerUserFile(settings);
    }
    settings.jrePath = perUser ? traced(kSectionJavaRuntime, kKeyJrePath,
                                        perUser->readValue(kSectionJavaRuntime, kKeyJrePath), L" (the per-user file)")
                               : read(kSectionJavaRuntime, kKeyJrePath);

    settings.jvmType = jvmTypeFromSetting(read(kSectionJavaRuntime, kKeyJvmType));
    applyJvmSource(read(kSectionJavaRuntime, kKeyJvmSource), settings.searchFilter);
    applyVmProvider(read(kSectionJavaRuntime, kKeyVmProvider), settings.searchFilter);
    settings.searchFilter.vendorRuntimes = isYesInsensitive(read(kSectionJavaRuntime, kKeySearchVendorRuntimes));
    settings.useJavaHome = isYesInsensitive(read(kSectionJavaRuntime, kKeyUseJavaHome));
    settings.classDataSharing = isYesInsensitive(read(kSectionJavaRuntime, kKeyClassDataSharing));

    std::wstring mainClass = read(kSectionJavaRuntime, kKeyMainClass);
    std::replace(mainClass.begin(), mainClass.end(), L'.', L'/');
    settings.mainClass = mainClass;
    if (mainClass.empty()) {
        return failureOf(IDS_MAIN_CLASS_MISSING);
    }

    settings.failureCheck = isYesInsensitive(read(kSectionApplication, kKeyFailureCheck));
    settings.overrideWorkingDir = isYesInsensitive(read(kSectionApplication, kKeyOverrideWorkingDir));
    settings.systemPath = read(kSectionJavaRuntime, kKeySystemPath);
    settings.libraryPath = read(kSectionJavaRuntime, kKeyLibraryPath);
    settings.pairProduct = read(kSectionApplication, kKeyPairProduct);
    settings.pairReturnCode = isYesInsensitive(read(kSectionApplication, kKeyPairReturnCode));
    settings.downloadPage = read(kSectionJavaRuntime, kKeyDownloadPage);
    return {};
}

bool readSingleInstance(const ConfigStore& layered)
{
    if (layered.readValue(kSectionApplication, kKeyApplicationType) == kValueService) {
        return false;
    }
    return layered.readValue(kSectionApplication, kKeySingleInstance) == L"yes";
}

LaunchOptionSettings readLaunchOptionSettings(const ConfigStore& layered)
{
    LaunchOptionSettings options;
    options.classPath = splitList(layered.readValue(kSectionClassPath, kKeyClassPath), L";");
    options.embeddedJar = isYesInsensitive(layered.readValue(kSectionApplication, kKeyEmbeddedJar));
    options.vmParameters = layered.readValue(kSectionJavaRuntime, kKeyVirtualMachineParameters);
    options.outputFile = layered.readValue(kSectionApplication, kKeyOutputFile);
    options.outputAppend = layered.readValue(kSectionApplication, kKeyOutputAppend) == L"yes";
    options.errorFile = layered.readValue(kSectionApplication, kKeyErrorFile);
    options.errorAppend = layered.readValue(kSectionApplication, kKeyErrorAppend) == L"yes";
    options.command = layered.readValue(kSectionApplication, kKeyCmd);
    return options;
}

ServiceSettings readServiceSettings(const ConfigStore& layered)
{
    ServiceSettings service;
    const std::wstring method = layered.readValue(kSectionApplication, kKeyServiceStopMethod);
    const std::size_t dot = method.rfind(L'.');
    if (dot != std::wstring::npos && dot != 0 && dot + 1 != method.size()) {
        service.stopClass = method.substr(0, dot);
        std::replace(service.stopClass.begin(), service.stopClass.end(), L'.', L'/');
        service.stopMethod = method.substr(dot + 1);
    }
    const std::wstring timeout = layered.readValue(kSectionApplication, kKeyServiceStopTimeout);
    unsigned long long seconds = 0;
    for (const wchar_t c : timeout) {
        if (!isAsciiDigit(c)) {
            seconds = 0;
            break;
        }
        seconds = std::min<unsigned long long>(seconds * 10 + static_cast<unsigned>(c - L'0'),
                                               ServiceSettings::kMaximumServiceStopTimeout);
    }
    if (seconds != 0) {
        service.stopTimeoutSeconds = static_cast<unsigned>(seconds);
    }
    return service;
}

SplashSettings readSplashSettings(const ConfigStore& mainFile)
{
    SplashSettings splash;
    splash.image = mainFile.readValue(kSectionDisplay, kKeySplashScreen);
    splash.shadow = mainFile.readValue(kSectionDisplay, kKeySplashScreenShadow);
    splash.preferNative = isYesInsensitive(mainFile.readValue(kSectionDisplay, kKeyPreferNativeSplashScreen));
    return splash;
}
