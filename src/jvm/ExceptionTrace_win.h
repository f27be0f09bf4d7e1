#pragma once
#include <string>

#include "jni/jni.h"

// The stack trace of `exception` as printStackTrace prints it; empty when any
// class, method or object needed is missing. Clears the pending exception;
// exceptions raised while gathering the trace are described on standard error.
std::wstring describeException(JNIEnv* env, jthrowable exception);
