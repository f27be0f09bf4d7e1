#include "util/LaunchError.h"

#include <cstdlib>

void raiseLaunchError(std::int32_t hresult)
{
#if defined(__cpp_exceptions)
    throw LaunchError(hresult);
#else
    // Built without exceptions (the shipped launcher): nothing would catch
    // one anyway. The process ends at once, abnormally and without a
    // message, with the HRESULT as its exit code.
    std::_Exit(hresult);
#endif
}
