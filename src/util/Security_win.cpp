#include "util/Security_win.h"

#include "util/OnceInit_win.h"
#include "util/SystemLibrary_win.h"
#include "util/UniqueHandle_win.h"

namespace {

struct SecurityFunctions {
    // What reads the process's token.
    decltype(&::OpenProcessToken) openProcessToken = nullptr;
    decltype(&::GetTokenInformation) getTokenInformation = nullptr;
    // What builds a descriptor.
    decltype(&::InitializeAcl) initializeAcl = nullptr;
    decltype(&::AddAccessAllowedAce) addAccessAllowedAce = nullptr;
    decltype(&::InitializeSecurityDescriptor) initializeDescriptor = nullptr;
    decltype(&::SetSecurityDescriptorDacl) setDacl = nullptr;
};

const SecurityFunctions* loadSecurityFunctions()
{
    static SecurityFunctions loaded;
    const HMODULE library = loadSystemLibrary(L"advapi32.dll");
    const bool token = findFunction(library, "OpenProcessToken", loaded.openProcessToken) &&
                       findFunction(library, "GetTokenInformation", loaded.getTokenInformation);
    const bool descriptor = findFunction(library, "InitializeAcl", loaded.initializeAcl) &&
                            findFunction(library, "AddAccessAllowedAce", loaded.addAccessAllowedAce) &&
                            findFunction(library, "InitializeSecurityDescriptor", loaded.initializeDescriptor) &&
                            findFunction(library, "SetSecurityDescriptorDacl", loaded.setDacl);
    return token && descriptor ? &loaded : nullptr;
}

// The loaded functions, once for the process; null when advapi32 or one of
// them cannot be found.
const SecurityFunctions* securityFunctions()
{
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    return loadOnce<const SecurityFunctions>(once, &loadSecurityFunctions);
}

// Reads one class of information of the process's own token into `buffer`.
bool readOwnToken(const SecurityFunctions* functions, TOKEN_INFORMATION_CLASS what, void* buffer, DWORD size)
{
    HANDLE opened = nullptr;
    if (functions == nullptr || !functions->openProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) {
        return false;
    }
    const UniqueHandle token(opened);
    DWORD written = 0;
    return functions->getTokenInformation(token.get(), what, buffer, size, &written) != FALSE;
}

} // namespace

bool runsElevated()
{
    TOKEN_ELEVATION elevation{};
    return readOwnToken(securityFunctions(), TokenElevation, &elevation, sizeof elevation) &&
           elevation.TokenIsElevated != 0;
}

CurrentUserOnlySecurity::CurrentUserOnlySecurity()
{
    const SecurityFunctions* functions = securityFunctions();
    // The entry takes a copy of the SID, so the token's answer may go.
    alignas(TOKEN_USER) unsigned char user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    ACL* acl = reinterpret_cast<ACL*>(acl_);
    built_ = readOwnToken(functions, TokenUser, user, sizeof user) &&
             functions->initializeAcl(acl, sizeof acl_, ACL_REVISION) &&
             functions->addAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL,
                                            reinterpret_cast<const TOKEN_USER*>(user)->User.Sid) &&
             functions->initializeDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             functions->setDacl(&descriptor_, TRUE, acl, FALSE);
    attributes_ = {sizeof attributes_, &descriptor_, FALSE};
}
