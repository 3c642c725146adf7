// The modal task editor window, in which a task is added or modified.
#pragma once

// Opens the editor in editor_mode and returns once it has been destroyed.
void open_editor();
