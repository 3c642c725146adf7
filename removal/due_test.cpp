#include "removal/due_test.h"

#include <cmath>

bool is_due(int32_t tick, int32_t period) {
  if (period == 0) return false;  // only a hand-edited cfg.ini holds it; such a row simply never runs
  double remainder = std::fmod(static_cast<double>(tick), static_cast<double>(period));
  return std::fabs(remainder) <= 1e-7;
}
