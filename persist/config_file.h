// cfg.ini: the tasks and the running total, kept across runs. The file is read
// and written whole, in one pass; a save replaces it in one step.
#pragma once
#include <string>

#include "persist/ini_text.h"

// Fills the empty task table and point from cfg.ini, once at start-up.
void load_config();
// Rewrites cfg.ini from the task table and point; a failed save is silent.
void save_config();

// The file as the platform's profile reader sees it: text with a byte-order mark
// is turned into ANSI, any other bytes pass through the ANSI code page and back.
IniDocument ini_load(const std::string& path);
// A value as the program reads it: leading bytes 0x01-0x20 of the names skipped,
// an empty name reading nothing.
std::string ini_read(const IniDocument& file, const std::string& section, const std::string& key,
                     const std::string& fallback = std::string());
// Puts text in place of the file in one step, so the file is always either the old
// one or the new one. False leaves the old file as it was and no temporary file.
bool replace_file_whole(const std::string& path, const std::string& text);
