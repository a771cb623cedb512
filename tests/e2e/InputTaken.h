// Waiting until the programs on the desktop have taken the input sent to them, so that a test's
// pointer and button records reach a window in the order and at the places they were sent.
#pragma once

#include <windows.h>

// True once every window thread of another process that shows a window has handled all the input
// queued for it. The proof: a one-pixel invalidation of one of its visible windows, made after the
// input was sent, has been painted. A thread paints only when no sent, posted or input message is
// waiting, so a painted window means its thread took the input; it also means the thread has
// turned the X events that the input caused into its own input and handled that as well (Wine
// replays the pointer places of X motion events as fresh input, and a thread that lags would
// otherwise move the pointer back to where it was a few records ago). False if a thread did not
// get there within `nTimeoutMs`.
bool WaitForInputTaken(DWORD nTimeoutMs);
