#pragma once
#include "jni/jni.h"

class Launcher;

// Shows an exception that escaped main with its stack trace and asks whether
// to stop the application. True for "stop". Runs on the VM thread.
bool showUncaughtExceptionDialog(Launcher& launcher, jthrowable exception);
