#include "jvm/ExceptionDialog_win.h"

#include "app/Launcher.h"

bool showUncaughtExceptionDialog(Launcher&, jthrowable)
{
    return false;
}
