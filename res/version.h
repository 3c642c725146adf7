// The one source of the program's version: the version resource and the code read it.
#pragma once

#define SWEEP_VERSION_MAJOR 1
#define SWEEP_VERSION_MINOR 0
#define SWEEP_VERSION_PATCH 0
#define SWEEP_VERSION_BUILD 0

#define SWEEP_STRINGIZE2(x) #x
#define SWEEP_STRINGIZE(x) SWEEP_STRINGIZE2(x)
#define SWEEP_VERSION_TEXT                                                                  \
  SWEEP_STRINGIZE(SWEEP_VERSION_MAJOR) "." SWEEP_STRINGIZE(SWEEP_VERSION_MINOR) "." SWEEP_STRINGIZE( \
      SWEEP_VERSION_PATCH) "." SWEEP_STRINGIZE(SWEEP_VERSION_BUILD)
