#include <windows.h>

#include "core/app_state.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return startup(instance); }
