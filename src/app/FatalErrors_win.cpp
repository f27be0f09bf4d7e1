// The launcher is built without C++ exceptions: a failure that only a broken
// machine or a programming error can cause ends the process at once,
// abnormally and without a message, with the HRESULT of LaunchError as its
// exit code (nothing in the launcher would catch an exception anyway). These
// definitions replace the C++ library's throwing ones in the launcher
// executables only, and keep its exception machinery, its exception classes
// and the threads library they need out of the launcher.
#include <windows.h>

#include <cstdlib>
#include <new>

#include "util/LaunchError.h"

namespace {

[[noreturn]] void fail(std::int32_t hresult)
{
    raiseLaunchError(hresult);
}

} // namespace

// The library's handler for an exception nobody catches, which would bring a
// name demangler (some 45 KB) along.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    fail(kHresultFail);
}
} // namespace __gnu_cxx

// The C++ library's strings are compiled with exception handling: their
// cleanups name the C++ personality routine, and their catch clauses (reached
// only when something throws, which nothing here does) the catch functions.
// These stand-ins keep the exception machinery, and the threads library it
// needs, out of the launcher. The personality leaves every exception that
// reaches these frames to the handlers further up, as frames compiled
// without exceptions do.
extern "C" {
EXCEPTION_DISPOSITION __gxx_personality_seh0(PEXCEPTION_RECORD, void*, PCONTEXT, PDISPATCHER_CONTEXT)
{
    return ExceptionContinueSearch;
}

void* __cxa_begin_catch(void*)
{
    fail(kHresultFail);
}

void __cxa_end_catch()
{
    fail(kHresultFail);
}

void __cxa_rethrow()
{
    fail(kHresultFail);
}
} // extern "C"

// What the library's containers and strings call where they would throw.
namespace std {
void __throw_bad_alloc() { fail(kHresultOutOfMemory); }
void __throw_bad_array_new_length() { fail(kHresultOutOfMemory); }
void __throw_bad_cast() { fail(kHresultFail); }
void __throw_bad_exception() { fail(kHresultFail); }
void __throw_bad_function_call() { fail(kHresultFail); }
void __throw_bad_typeid() { fail(kHresultFail); }
void __throw_domain_error(const char*) { fail(kHresultInvalidArg); }
void __throw_invalid_argument(const char*) { fail(kHresultInvalidArg); }
void __throw_length_error(const char*) { fail(kHresultArithmeticOverflow); }
void __throw_logic_error(const char*) { fail(kHresultInvalidArg); }
void __throw_out_of_range(const char*) { fail(kHresultInvalidArg); }
void __throw_out_of_range_fmt(const char*, ...) { fail(kHresultInvalidArg); }
void __throw_overflow_error(const char*) { fail(kHresultArithmeticOverflow); }
void __throw_range_error(const char*) { fail(kHresultInvalidArg); }
void __throw_runtime_error(const char*) { fail(kHresultFail); }
void __throw_underflow_error(const char*) { fail(kHresultArithmeticOverflow); }
} // namespace std

// The tag of the allocations that may fail (the library's algorithms ask for
// their buffers so). The library's own definition comes with its new-handler
// and the threads library that guards it.
namespace std {
const nothrow_t nothrow{};
} // namespace std

// Allocation: an allocation that fails ends the process with E_OUTOFMEMORY.
void* operator new(std::size_t size)
{
    void* memory = std::malloc(size != 0 ? size : 1);
    if (memory == nullptr) {
        fail(kHresultOutOfMemory);
    }
    return memory;
}

void* operator new[](std::size_t size)
{
    return ::operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size != 0 ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size != 0 ? size : 1);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}
