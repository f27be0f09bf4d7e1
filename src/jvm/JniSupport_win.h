#pragma once
#include <string>
#include <vector>

#include "jni/jni.h"

// General helpers for calls into the VM through JNI.

// A new java.lang.String from the UTF-16 units of `text` as they are (no code
// page involved); null on failure.
jstring newJavaString(const std::wstring& text, JNIEnv* env);

// A new String[] holding `texts` in order; null on failure. An empty list
// gives an empty array.
jobjectArray newJavaStringArray(const std::vector<std::wstring>& texts, JNIEnv* env);

// A class name in dot form ("app/Main" gives "app.Main").
std::wstring dottedClassName(std::wstring name);

// `text` in the VM's modified UTF-8, as JNI takes names; empty when it
// cannot be converted.
std::string modifiedUtf8Of(const std::wstring& text, JNIEnv* env);

// The class `slashName` (org/example/App) through the VM's own lookup, its
// name given as the VM's modified UTF-8, never in a code page; null with an
// exception pending when it cannot be found, null without one when the name
// cannot be converted.
jclass findClassNamed(const std::wstring& slashName, JNIEnv* env);

// True when a JNI call left an exception pending; it is then printed by the
// VM (and thereby cleared).
bool describePendingException(JNIEnv* env);

// A new java.io.PrintStream writing to `output`, without automatic flushing;
// null on failure (an exception may be pending).
jobject newPrintStream(jobject output, JNIEnv* env);

// Calls Runtime.getRuntime().`method`(code) for "exit" (what System.exit
// does: the shutdown hooks run, then the process ends) or "halt" (the
// process ends at once); an exception it leaves is described.
void endThroughRuntime(const char* method, int code, JNIEnv* env);
