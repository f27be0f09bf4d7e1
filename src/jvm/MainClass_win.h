#pragma once
#include <string>
#include <vector>

#include "jni/jni.h"
#include "jvm/VmLaunch_win.h"

// A new java.lang.String from the UTF-16 units of `text` as they are (no code
// page involved); null on failure.
jstring newJavaString(const std::wstring& text, JNIEnv* env);

// A new String[] holding `texts` in order; null on failure. An empty list
// gives an empty array.
jobjectArray newJavaStringArray(const std::vector<std::wstring>& texts, JNIEnv* env);

// A class name in dot form ("app/Main" gives "app.Main").
std::wstring dottedClassName(std::wstring name);

// True when a JNI call left an exception pending; it is then printed by the
// VM (and thereby cleared).
bool describePendingException(JNIEnv* env);

// A new java.io.PrintStream writing to `output`, without automatic flushing;
// null on failure (an exception may be pending).
jobject newPrintStream(jobject output, JNIEnv* env);

// Loads the main class (through the runtime's launcher helper when it has
// one, else the VM's own lookup), calls its static main with the arguments and
// waits for it; an exception from main is shown in the exception dialog when
// "Failure Check" asks for it, else noted in `vm.uncaughtException`. False,
// after the message, when the class, its main method or the argument array is
// missing. Runs on the VM thread.
bool invokeMainClass(const VmLaunch& launch, VmState& vm);
