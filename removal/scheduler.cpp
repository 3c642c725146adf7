#include "removal/scheduler.h"

#include "core/app_state.h"

void on_tick() { ++tick_count; }
