#include "util/LaunchError.h"

void raiseLaunchError(std::int32_t hresult)
{
    throw LaunchError(hresult);
}
