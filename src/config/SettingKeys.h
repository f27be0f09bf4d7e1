#pragma once

// Section and key names of the configuration files, exactly as written there.

// Sections.
constexpr const wchar_t* kSectionProductInformation = L"Product Information";
constexpr const wchar_t* kSectionJavaRuntime = L"Java Runtime Environment";
constexpr const wchar_t* kSectionApplication = L"Application";
constexpr const wchar_t* kSectionClassPath = L"Class Path";
constexpr const wchar_t* kSectionDisplay = L"Display";

// "Product Information" (plain configuration file only).
constexpr const wchar_t* kKeyProductCode = L"Product Code";
constexpr const wchar_t* kKeyProductName = L"Product Name";

// "Java Runtime Environment".
constexpr const wchar_t* kKeyMinimumVersion = L"Minimum Version";
constexpr const wchar_t* kKeyMaximumVersion = L"Maximum Version";
constexpr const wchar_t* kKeyPreferredVersions = L"Preferred versions";
constexpr const wchar_t* kKeyJrePath = L"JRE Path";
constexpr const wchar_t* kKeyJvmType = L"JVM Type";
constexpr const wchar_t* kKeyJvmSource = L"JVM Source";
constexpr const wchar_t* kKeyVmProvider = L"VM Provider";
constexpr const wchar_t* kKeyMainClass = L"Main Class";
constexpr const wchar_t* kKeySystemPath = L"System Path";
constexpr const wchar_t* kKeyLibraryPath = L"Library Path";
constexpr const wchar_t* kKeyVirtualMachineParameters = L"Virtual Machine Parameters";
constexpr const wchar_t* kKeySearchVendorRuntimes = L"Search Vendor Runtimes";
constexpr const wchar_t* kKeyUseJavaHome = L"Use JAVA_HOME";
constexpr const wchar_t* kKeyDownloadPage = L"Download Page";
constexpr const wchar_t* kKeyClassDataSharing = L"Class Data Sharing";

// "Application".
constexpr const wchar_t* kKeyApplicationType = L"Application Type";
constexpr const wchar_t* kKeyFailureCheck = L"Failure Check";
constexpr const wchar_t* kKeyOverrideWorkingDir = L"Override WorkingDir";
constexpr const wchar_t* kKeyPairProduct = L"Pair Product";
constexpr const wchar_t* kKeyPairReturnCode = L"Pair Return Code";
constexpr const wchar_t* kKeySingleInstance = L"Single Instance";
constexpr const wchar_t* kKeyEmbeddedJar = L"Embedded Jar";
constexpr const wchar_t* kKeyOutputFile = L"Output File";
constexpr const wchar_t* kKeyOutputAppend = L"Output Append";
constexpr const wchar_t* kKeyErrorFile = L"Error File";
constexpr const wchar_t* kKeyErrorAppend = L"Error Append";
constexpr const wchar_t* kKeyCmd = L"Cmd";
constexpr const wchar_t* kKeyServiceStopMethod = L"Service Stop Method";
constexpr const wchar_t* kKeyServiceStopTimeout = L"Service Stop Timeout";

// "Class Path".
constexpr const wchar_t* kKeyClassPath = L"Class Path";

// "Display" (plain configuration file only).
constexpr const wchar_t* kKeySplashScreen = L"Splash Screen";
constexpr const wchar_t* kKeySplashScreenShadow = L"Splash Screen Shadow";
constexpr const wchar_t* kKeyPreferNativeSplashScreen = L"Preffer Native Splash Screen";  // spelled as in the files

// Keyword values.
constexpr const wchar_t* kValueAny = L"any";
constexpr const wchar_t* kValueService = L"service";
