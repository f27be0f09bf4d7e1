#pragma once
#include <initializer_list>
#include <string>

#include "jni/jni.h"
#include "jvm/VmLaunch_win.h"

// Points System.out and System.err at the target files, after filling in the
// date-time pattern of their names from one reading of the clock. Runs on the
// VM thread right after the VM exists; a failure leaves the stream as it was
// and never fails the start. Returns the error file's name as used (empty
// when there is none).
std::wstring redirectStandardStreams(JNIEnv* env, StreamTargets targets);

// Fills in the date-time pattern of each name that has one, from one reading
// of the clock.
void fillDateTimePatterns(std::initializer_list<std::wstring*> names);
