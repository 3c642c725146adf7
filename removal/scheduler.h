// The one-second tick: every task whose period divides tick_count is carried out.
#pragma once

// The handler of the main window's timer 时钟1.
void on_tick();
