#include "jvm/RuntimeEnvironment.h"

#include "util/LaunchError.h"

namespace {

// Removes the last backslash and what follows it; nothing when none is left.
void cutLastComponent(std::wstring& path)
{
    const std::size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos) {
        path.erase(slash);
    }
}

void appendPiece(std::wstring& text, const std::wstring& piece)
{
    if (!text.empty() && text.back() != L';') {
        text += L';';
    }
    text += piece;
}

} // namespace

RuntimeFolders runtimeFoldersFor(const std::wstring& jvmLibraryPath)
{
    RuntimeFolders folders;
    folders.binFolder = jvmLibraryPath;
    cutLastComponent(folders.binFolder);
    cutLastComponent(folders.binFolder);
    folders.home = folders.binFolder;
    cutLastComponent(folders.home);
    folders.libFolder = folders.home + L"\\lib";
    return folders;
}

std::wstring libraryPathText(const std::wstring& libraryPath, const std::wstring& launcherFolder,
                             const std::wstring& libFolder)
{
    std::wstring text = libraryPath;
    appendPiece(text, launcherFolder);
    appendPiece(text, L".");
    appendPiece(text, L"%Path%");
    appendPiece(text, libFolder);
    return text;
}

std::wstring newPathText(const std::wstring& systemPath, const std::wstring& binFolder)
{
    std::wstring text = systemPath;
    if (!text.empty() && text.back() != L';') {
        text += L';';
    }
    text += L"%Path%;";
    text += binFolder;
    return text;
}

std::optional<std::wstring> prepareRuntimeEnvironment(const std::wstring& jvmLibraryPath,
                                                      const std::wstring& libraryPath,
                                                      const std::wstring& systemPath,
                                                      const std::wstring& launcherFolder,
                                                      const EnvironmentExpander& expand,
                                                      const EnvironmentSetter& setVariable)
{
    if (!expand || !setVariable) {
        raiseLaunchError(kHresultInvalidArg);
    }
    const RuntimeFolders folders = runtimeFoldersFor(jvmLibraryPath);
    setVariable(kJvmPathVariable, jvmLibraryPath);
    setVariable(kJvmHomeVariable, folders.home);

    std::optional<std::wstring> option;
    if (!libraryPath.empty()) {
        option = L"-Djava.library.path=" +
                 expandOrKeep(expand, libraryPathText(libraryPath, launcherFolder, folders.libFolder));
    }
    setVariable(kPathVariable, expandOrKeep(expand, newPathText(systemPath, folders.binFolder)));
    return option;
}
