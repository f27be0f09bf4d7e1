#include "jvm/StreamRedirection_win.h"

#include "app/Launcher.h"

void redirectStandardStreams(Launcher&)
{
}
