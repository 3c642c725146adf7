// The activity log: log.txt holds exactly the lines of this run.
#pragma once
#include <initializer_list>
#include <string>

// Adds one timestamped line to log_buffer and brings log.txt up to date with it.
void append_log(const std::string& message);

// Writes every byte to an open file (a HANDLE), in chunks WriteFile takes.
bool write_all(void* file, const char* bytes, size_t length);

// Creates or replaces a file with the given bytes (no sharing while it is open).
bool write_whole_file(const std::string& path, std::initializer_list<const std::string*> parts = {});

// Forgets what this run last wrote, so the next line rewrites log.txt whole.
void forget_log_file();
