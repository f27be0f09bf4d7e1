#include "app/Launcher.h"

#include "app/CommandLine_win.h"
#include "config/SettingsReader_win.h"

Launcher::~Launcher()
{
    closeSplashWindow();
    if (javaVm != nullptr) {
        destroyVm();
    }
    if (settings.singleInstance) {
        stopSingleInstance();
    }
    readyEvent.reset();
    closeNativeSplash();
}

bool Launcher::initialize()
{
    arguments = splitProcessCommandLine();
    if (!readSettings()) {
        return false;
    }
    if (!setupSingleInstance()) {
        return false;
    }
    if (settings.singleInstance && !isPrimaryInstance) {
        return true;
    }
    if (settings.overrideWorkingDir) {
        applyWorkingDirectory(splashWindowHandle);
    }
    return selectRuntime();
}

int Launcher::run()
{
    if (relaunchThroughPair) {
        return relaunchThroughPairProduct();
    }
    if (!settings.singleInstance || isPrimaryInstance) {
        return normalLaunch();
    }
    return waitForPrimaryAnswer();
}

bool Launcher::readSettings()
{
    return readLauncherSettings(settings, splashWindowHandle);
}

// Steps that later parts of the launcher fill in.

bool Launcher::setupSingleInstance()
{
    return true;
}

bool Launcher::selectRuntime()
{
    return true;
}

int Launcher::relaunchThroughPairProduct()
{
    return 0;
}

int Launcher::waitForPrimaryAnswer()
{
    return -1;
}

int Launcher::normalLaunch()
{
    return -1;
}

void Launcher::closeSplashWindow() {}

void Launcher::destroyVm()
{
    javaVm = nullptr;
}

void Launcher::stopSingleInstance() {}

void Launcher::closeNativeSplash() {}
