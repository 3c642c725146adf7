// The one-second tick: every task whose period divides tick_count is carried out.
#pragma once

void on_tick();
