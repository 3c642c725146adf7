// cfg.ini: the tasks and the running total, kept across runs.
#pragma once

void load_config();
void save_config();
