// jvmcrt.dll: a library that the imports-crt jvm.dll imports by name from the
// runtime's bin folder, as a real runtime's jvm.dll imports its C runtime.
// Two builds share the name and the export and differ only in the identity
// they return (TEST_CRT_IDENTITY), so the log can say which copy a start got.
#include <windows.h>

extern "C" __declspec(dllexport) const char* jvmcrtIdentity() { return TEST_CRT_IDENTITY; }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, void*) { return TRUE; }
