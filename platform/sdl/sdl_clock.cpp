// The clock and sleeping on the SDL backend: SDL's high-resolution counter and
// its delay, which sleeps to the millisecond already.
#include <SDL.h>

#include "platform/api/platform.h"

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (count == nullptr) return FALSE;
    count->QuadPart = static_cast<LONGLONG>(SDL_GetPerformanceCounter());
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (frequency == nullptr) return FALSE;
    frequency->QuadPart = static_cast<LONGLONG>(SDL_GetPerformanceFrequency());
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds) {
    SDL_Delay(milliseconds);
}

MMRESULT WINAPI timeBeginPeriod(UINT) {
    return TIMERR_NOERROR;
}
MMRESULT WINAPI timeEndPeriod(UINT) {
    return TIMERR_NOERROR;
}
