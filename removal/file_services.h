// Thin calls into the file system and the shell, on ANSI paths.
#pragma once
#include <string>

// True when FindFirstFileA finds anything at the path (wildcards allowed).
// An empty path, or one whose last character is "\", gives false.
bool path_exists(const std::string& path);
