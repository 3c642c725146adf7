// The due test of the tick: plain arithmetic, no window.
#pragma once
#include <cstdint>

// True when the period divides the tick count: the remainder of truncated
// division in double, within 1e-7. A period of 0 is never due.
bool is_due(int32_t tick, int32_t period);
