// The clock calls of kernel32 and winmm, over the backend's clock (clock.h).
#include "platform/common/clock.h"

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (count == nullptr) return FALSE;
    count->QuadPart = platform::TheClock().Ticks();
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (frequency == nullptr) return FALSE;
    frequency->QuadPart = platform::TheClock().TicksPerSecond();
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds) {
    platform::TheClock().Wait(milliseconds);
}

MMRESULT WINAPI timeBeginPeriod(UINT) {
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT) {
    return TIMERR_NOERROR;
}
