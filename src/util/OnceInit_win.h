#pragma once
#include <windows.h>

// The pointer that `load` returns, computed once for the process whichever
// threads ask at the same time; later calls return it at once. `once` must be
// a static INIT_ONCE set to INIT_ONCE_STATIC_INIT. (A function-local static
// with a computed value would do the same through the C++ library's guards,
// which bring exception handling and a threads library into the launcher.)
template <typename T>
T* loadOnce(INIT_ONCE& once, T* (*load)())
{
    void* result = nullptr;
    ::InitOnceExecuteOnce(
        &once,
        [](PINIT_ONCE, PVOID parameter, PVOID* context) -> BOOL {
            *context = const_cast<void*>(static_cast<const void*>(reinterpret_cast<T* (*)()>(parameter)()));
            return TRUE;
        },
        reinterpret_cast<void*>(load), &result);
    return static_cast<T*>(result);
}
