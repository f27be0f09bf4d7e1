#include "jvm/LaunchPreparation_win.h"

#include "app/Launcher.h"

void prepareRuntimeEnvironment(Launcher&)
{
}

bool assembleVmOptions(Launcher&)
{
    return true;
}
