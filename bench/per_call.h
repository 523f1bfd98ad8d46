#pragma once
// The mean cost of one call of a function, in microseconds, over `calls`
// calls in a row.
#include "support/windows_win32.h"

template <typename Call>
double MicrosecondsPerCall(Call call, int calls) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < calls; ++i) call();
  QueryPerformanceCounter(&end);
  return (end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart / calls;
}
