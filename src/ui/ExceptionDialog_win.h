#pragma once
#include <string>

// Shows the stack trace of an exception that escaped main and asks whether to
// stop the application. True for Stop (also Escape and the close box), and
// when the dialog cannot be shown; false for Ignore and for an empty trace,
// which shows nothing. Blocks the calling thread.
bool askToStopAfterException(const std::wstring& trace);
