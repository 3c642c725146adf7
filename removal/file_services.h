// Thin calls into the file system and the shell, on ANSI paths. None shows a
// message; each gives only its result.
//
// Two guards hold for every removal here:
// - nothing is reached through a link: an entry whose attributes carry
//   FILE_ATTRIBUTE_REPARSE_POINT (junction, directory symbolic link, mount point),
//   or a path that passes through one, is never removed, descended into or
//   handed to the Recycle Bin;
// - the program's own files (the running exe, exe_dir\cfg.ini, exe_dir\log.txt,
//   a file in exe_dir named like the exe) and exe_dir itself are never removed.
#pragma once
#include <windows.h>

#include <string>

// True when FindFirstFileA finds anything at the path (wildcards allowed).
// An empty path, or one whose last character is "\", gives false.
bool path_exists(const std::string& path);

// GetFileAttributesA masked with 0x37 (read-only, hidden, system, directory,
// archive), or -1 when the call fails.
int file_attributes(const std::string& path);

// True when the path, or a folder on the way to it, is a junction, symbolic
// link or mount point.
bool passes_through_link(const std::string& path);

// DeleteFileA: no pattern, no directory, no read-only file.
bool delete_file(const std::string& path);

// Removes the folder with everything in it that does not begin with "."; the
// result is that of removing the folder itself. An empty path or a drive root
// touches nothing.
bool remove_directory_tree(const std::string& path);

// Moves the path (wildcards allowed) to the Recycle Bin through the shell, with
// the program's windows disabled meanwhile. Refuses, removing nothing, when the
// Recycle Bin of the path's drive cannot be reached (the shell would delete
// outright) or when what it would move holds a link or one of the program's own files.
bool move_to_recycle_bin(const std::string& path);

// With a pattern: starts a search (closing one still open) and gives the first
// name; with empty text: gives the next name. Entries with none of the 0x37
// attributes are passed over. Gives empty text, closing the search, at the end.
std::string find_entry(const std::string& pattern, HANDLE* search);
void find_close(HANDLE* search);
