#include "bench/bench_util.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

double seconds_now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string bench_dir(const std::string& name) {
  const char* drive = std::getenv("SWEEP_SCRATCH");
  if (!drive || std::strlen(drive) != 2 || drive[0] == 'Z' || drive[0] == 'z') {
    std::fprintf(stderr, "run the benchmarks with scripts/bench.sh\n");
    std::exit(2);
  }
  std::string path = std::string(drive) + "\\bench-" + name + "-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

void report(const std::string& name, double value, const char* unit) {
  std::printf("%-60s | %12.3f | %s\n", name.c_str(), value, unit);
  std::fflush(stdout);
}
