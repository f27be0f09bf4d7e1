#pragma once
#include <windows.h>

// The process's own token and the descriptor its named objects get. The
// launcher does not import advapi32, which holds these functions: it is loaded
// on first use, from the system folder only, and stays loaded.

// True when the process runs elevated (its token's TokenElevation says so);
// false when it does not, or when the token cannot be read.
bool runsElevated();

// Security attributes whose DACL admits only the user the process runs as
// (GENERIC_ALL to the SID of the token's user, nothing to anyone else), so
// that another local user can neither create a named object first nor open
// it. Neither copied nor moved: the descriptor points into the object itself.
class CurrentUserOnlySecurity {
public:
    CurrentUserOnlySecurity();
    CurrentUserOnlySecurity(const CurrentUserOnlySecurity&) = delete;
    CurrentUserOnlySecurity& operator=(const CurrentUserOnlySecurity&) = delete;

    // The attributes to create an object with; null (default security) when
    // the descriptor could not be built.
    SECURITY_ATTRIBUTES* attributes() { return built_ ? &attributes_ : nullptr; }

private:
    SECURITY_DESCRIPTOR descriptor_{};
    // Room for one access-allowed entry with a SID of the largest size.
    alignas(DWORD) unsigned char acl_[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE]{};
    SECURITY_ATTRIBUTES attributes_{};
    bool built_ = false;
};
