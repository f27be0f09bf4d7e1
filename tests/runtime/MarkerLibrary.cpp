// The runtime marker library (bin\java.dll): only its presence matters.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, void*) { return TRUE; }
