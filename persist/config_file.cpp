#include "persist/config_file.h"

#include "persist/activity_log.h"

// Placeholder until the configuration file is built: logs as the real one does.
void load_config() { append_log("配置读入完成"); }
void save_config() { append_log("配置写入完成"); }
