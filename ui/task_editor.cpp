#include "ui/task_editor.h"

void open_editor() {}
