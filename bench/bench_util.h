// Small helpers for the benchmarks: a clock, a scratch folder, a results line.
#pragma once
#include <string>

double seconds_now();
// A fresh folder on the bench's scratch drive.
std::string bench_dir(const std::string& name);
// Prints one result line: "name | value | unit".
void report(const std::string& name, double value, const char* unit);
