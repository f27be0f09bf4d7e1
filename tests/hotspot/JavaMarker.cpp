// The runtime marker library (bin\java.dll) beside the HotSpot bridge: only its
// presence matters, it makes the folder look like a Java runtime.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, void*) { return TRUE; }
