#pragma once

// The control functions of the failing-calls library (FailingCallsLinux.cpp),
// for a test program that has it preloaded; tests use them through
// support/model/FailingCalls.h.

/** From now on, the nth call of the libfiu failure point (counted on this
    thread; every call for 0) fails with this errno; any earlier choice is
    dropped. */
extern "C" void tintwright_fail_call (const char* point, int nth, int error);

/** How many calls of the chosen point this thread has made since. */
extern "C" int tintwright_calls_seen();

extern "C" void tintwright_stop_failing();
