#pragma once
#include <string>

#include "jni/jni.h"

class Launcher;

// Shows an exception that escaped main with its stack trace and asks whether
// to stop the application. True for "stop"; false for Ignore and when there is
// no trace to show. A dialog that cannot be shown counts as "stop". Runs on
// the VM thread.
bool showUncaughtExceptionDialog(Launcher& launcher, jthrowable exception);

// The stack trace of `exception` as printStackTrace prints it; empty when any
// class, method or object needed is missing. Clears the pending exception;
// exceptions raised while gathering the trace are described on standard error.
std::wstring describeException(JNIEnv* env, jthrowable exception);
