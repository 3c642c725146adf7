#include "core/app_state.h"

int32_t point = 0;
int32_t tick_count = 0;
int32_t editor_mode = 0;
int32_t edit_row = 0;
std::string dropped_path;
std::string log_buffer;

std::string exe_dir;
Controls controls = {};
bool process_exiting = false;

std::string config_path() { return exe_dir + "\\cfg.ini"; }
std::string log_path() { return exe_dir + "\\log.txt"; }
