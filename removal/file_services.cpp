#include "removal/file_services.h"

#include <shellapi.h>

#include <vector>

#include "core/app_state.h"
#include "core/gbk_text.h"

namespace {

constexpr DWORD kShownAttributes = 0x37;  // read-only, hidden, system, directory, archive

bool attributes_of(const std::string& path, DWORD* attributes) {
  *attributes = GetFileAttributesA(path.c_str());
  return *attributes != INVALID_FILE_ATTRIBUTES;
}

bool is_reparse_point(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
bool is_dot_or_dot_dot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

std::string full_path_of(const std::string& path) {
  char buffer[MAX_PATH * 2] = "";
  DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  if (length == 0 || length >= sizeof buffer) return std::string();
  return buffer;
}

// The folder part of a full path, with the backslash kept after a bare drive.
std::string parent_of(const std::string& full) {
  std::string::size_type slash = last_backslash(full);
  if (slash == std::string::npos) return std::string();
  std::string parent = full.substr(0, slash);
  if (parent.size() == 2 && parent[1] == ':') parent += '\\';
  return parent;
}

std::string join(const std::string& folder, const char* name) {
  return ends_with_backslash(folder) ? folder + name : folder + "\\" + name;
}

// ---- Identity of files and folders, so no spelling of a path escapes the guard. ----

struct FileId {
  DWORD volume;
  DWORD high;
  DWORD low;
};

bool file_id_of(const std::string& path, FileId* id) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool ok = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  if (ok) *id = FileId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return ok;
}

bool same_file(const FileId& a, const FileId& b) { return a.volume == b.volume && a.high == b.high && a.low == b.low; }

// The program's own files, fixed afresh for each removal: exe_dir may change.
struct OwnFiles {
  bool have_exe_dir;
  FileId exe_dir_id;
  bool have_module_dir;
  FileId module_dir_id;
  std::string module_name;
};

OwnFiles own_files() {
  OwnFiles own = {};
  own.have_exe_dir = !exe_dir.empty() && file_id_of(exe_dir, &own.exe_dir_id);
  char module[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    std::string path = module;
    std::string::size_type slash = last_backslash(path);
    if (slash != std::string::npos) {
      own.module_name = path.substr(slash + 1);
      own.have_module_dir = file_id_of(parent_of(path), &own.module_dir_id);
    }
  }
  return own;
}

bool names_equal(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

// True for exe_dir and for the folder of the running exe: never removed.
bool is_own_folder(const OwnFiles& own, const FileId& folder) {
  return (own.have_exe_dir && same_file(folder, own.exe_dir_id)) ||
         (own.have_module_dir && same_file(folder, own.module_dir_id));
}

// True when the entry of this name in the folder is one of the program's own files.
bool is_own_entry(const OwnFiles& own, const FileId* folder, const char* name) {
  if (!folder) return false;
  std::string entry = name;
  if (own.have_exe_dir && same_file(*folder, own.exe_dir_id) &&
      (names_equal(entry, "cfg.ini") || names_equal(entry, "log.txt") ||
       (!own.module_name.empty() && names_equal(entry, own.module_name.c_str()))))
    return true;
  return own.have_module_dir && same_file(*folder, own.module_dir_id) && !own.module_name.empty() &&
         names_equal(entry, own.module_name.c_str());
}

// True when the full path, or a folder on the way to it, is a link.
bool full_path_through_link(const std::string& full) {
  for (std::string::size_type i = 3; i <= full.size(); ++i) {
    unsigned char c = i < full.size() ? static_cast<unsigned char>(full[i]) : '\\';
    if (i < full.size() && is_gbk_lead_byte(c) && i + 1 < full.size()) {
      ++i;
      continue;
    }
    if (c != '\\') continue;
    DWORD attributes;
    if (attributes_of(full.substr(0, i), &attributes) && is_reparse_point(attributes)) return true;
  }
  return false;
}

// May the single entry at this path (no wildcards) be removed?
bool may_remove_entry(const OwnFiles& own, const std::string& path) {
  std::string full = full_path_of(path);
  if (full.empty() || full_path_through_link(full)) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(full.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;  // nothing there: the removal fails by itself
  FindClose(search);
  FileId folder;
  bool have_folder = file_id_of(parent_of(full), &folder);
  if (is_own_entry(own, have_folder ? &folder : nullptr, found.cFileName)) return false;
  FileId self;
  return !(file_id_of(full, &self) && is_own_folder(own, self));
}

struct TreeEntry {
  std::string path;
  bool directory;
};

// Empties the folder of every entry not beginning with "." and not a link,
// sparing the program's own files. False when the folder itself must stay.
bool clear_tree(const OwnFiles& own, const std::string& folder) {
  FileId id;
  bool have_id = file_id_of(folder, &id);
  std::vector<TreeEntry> entries;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.cFileName[0] == '.' || is_reparse_point(found.dwFileAttributes)) continue;
      if (is_own_entry(own, have_id ? &id : nullptr, found.cFileName)) continue;
      entries.push_back({folder + "\\" + found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  for (const TreeEntry& entry : entries) {
    if (entry.directory) {
      if (clear_tree(own, entry.path)) RemoveDirectoryA(entry.path.c_str());
    } else {
      DeleteFileA(entry.path.c_str());
    }
  }
  return !(have_id && is_own_folder(own, id));
}

// True when the ANSI calls can list every folder of the tree and name every entry
// in it. A tree that reaches past MAX_PATH would be cleared only down to where
// the calls stop, so it is not touched at all.
bool tree_within_reach(const std::string& folder) {
  std::string pattern = folder + "\\*.*";
  if (pattern.size() >= MAX_PATH) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;  // nothing here that could be lost
  bool reachable = true;
  do {
    if (found.cFileName[0] == '.' || is_reparse_point(found.dwFileAttributes)) continue;
    std::string entry = folder + "\\" + found.cFileName;
    if (entry.size() >= MAX_PATH) reachable = false;
    else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) reachable = tree_within_reach(entry);
  } while (reachable && FindNextFileA(search, &found));
  FindClose(search);
  return reachable;
}

// True when nothing in the folder, at any depth, is a link or one of the program's own files.
bool tree_is_safe_to_move(const OwnFiles& own, const std::string& folder) {
  FileId id;
  bool have_id = file_id_of(folder, &id);
  if (have_id && is_own_folder(own, id)) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool safe = true;
  do {
    if (is_dot_or_dot_dot(found.cFileName)) continue;
    if (is_reparse_point(found.dwFileAttributes) || is_own_entry(own, have_id ? &id : nullptr, found.cFileName) ||
        ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !tree_is_safe_to_move(own, folder + "\\" + found.cFileName)))
      safe = false;
  } while (safe && FindNextFileA(search, &found));
  FindClose(search);
  return safe;
}

// Every match of the path (a pattern or a single entry) may go to the Recycle Bin.
bool safe_to_move(const OwnFiles& own, const std::string& path) {
  std::string full = full_path_of(path);
  std::string folder = parent_of(full);
  if (full.empty() || folder.empty() || full_path_through_link(folder)) return false;
  FileId folder_id;
  bool have_folder = file_id_of(folder, &folder_id);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(full.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool safe = true;
  do {
    if (is_dot_or_dot_dot(found.cFileName)) continue;
    if (is_reparse_point(found.dwFileAttributes) ||
        is_own_entry(own, have_folder ? &folder_id : nullptr, found.cFileName) ||
        ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !tree_is_safe_to_move(own, join(folder, found.cFileName))))
      safe = false;
  } while (safe && FindNextFileA(search, &found));
  FindClose(search);
  return safe;
}

// The shell deletes outright, with FOF_ALLOWUNDO and no word said, what it
// cannot put in the Recycle Bin; so ask first whether the drive has one.
// The query reads the whole Recycle Bin, so its cost grows with what the bin holds;
// a drive found to have one is not asked again for a minute.
bool recycle_bin_reachable(const std::string& full) {
  std::string root = full.size() >= 2 && full[1] == ':' ? full.substr(0, 2) + "\\" : full;
  static std::string last_root;
  static DWORD last_yes = 0;
  DWORD now = GetTickCount();
  if (!last_root.empty() && lstrcmpiA(root.c_str(), last_root.c_str()) == 0 && now - last_yes < 60000) return true;
  SHQUERYRBINFO info = {};
  info.cbSize = sizeof info;
  if (FAILED(SHQueryRecycleBinA(root.c_str(), &info))) {
    last_root.clear();
    return false;
  }
  last_root = root;
  last_yes = now;
  return true;
}

BOOL CALLBACK collect_enabled_window(HWND window, LPARAM list_pointer) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == GetCurrentProcessId() && IsWindowEnabled(window))
    reinterpret_cast<std::vector<HWND>*>(list_pointer)->push_back(window);
  return TRUE;
}

}  // namespace

bool path_exists(const std::string& path) {
  if (path.empty() || ends_with_backslash(path)) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

int file_attributes(const std::string& path) {
  DWORD attributes;
  if (!attributes_of(path, &attributes)) return -1;
  return static_cast<int>(attributes & kShownAttributes);
}

bool passes_through_link(const std::string& path) {
  std::string full = full_path_of(path);
  return !full.empty() && full_path_through_link(full);
}

bool delete_file(const std::string& path) {
  if (!may_remove_entry(own_files(), path)) return false;
  return DeleteFileA(path.c_str()) != 0;
}

bool remove_directory_tree(const std::string& path) {
  std::string::size_type start = path.find_first_not_of(' ');
  if (start == std::string::npos) return false;
  std::string folder = path.substr(start);
  if (folder.size() >= 2 && folder[1] == ':' && (folder.size() == 2 || (folder.size() == 3 && folder[2] == '\\')))
    return false;  // a drive root
  std::string full = full_path_of(folder);
  if (full.empty() || full_path_through_link(full)) return false;
  if (!tree_within_reach(folder)) return false;
  OwnFiles own = own_files();
  if (!clear_tree(own, folder)) return false;
  return RemoveDirectoryA(folder.c_str()) != 0;
}

bool move_to_recycle_bin(const std::string& path) {
  if (path.empty()) return false;
  std::string full = full_path_of(path);
  if (full.empty() || !recycle_bin_reachable(full) || !safe_to_move(own_files(), path)) return false;

  std::vector<char> from(path.begin(), path.end());
  from.push_back('\0');
  from.push_back('\0');
  SHFILEOPSTRUCTA operation = {};
  operation.hwnd = nullptr;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.data();
  operation.pTo = nullptr;
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;

  HWND foreground = GetForegroundWindow();
  HWND active = GetActiveWindow();
  std::vector<HWND> disabled;
  EnumWindows(collect_enabled_window, reinterpret_cast<LPARAM>(&disabled));
  for (HWND window : disabled) EnableWindow(window, FALSE);
  int result = SHFileOperationA(&operation);
  for (HWND window : disabled)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  if (foreground && IsWindow(foreground)) SetForegroundWindow(foreground);
  if (active && IsWindow(active)) SetActiveWindow(active);
  return result == 0 && !operation.fAnyOperationsAborted;
}

std::string find_entry(const std::string& pattern, HANDLE* search) {
  WIN32_FIND_DATAA found;
  bool have = false;
  if (!pattern.empty()) {
    find_close(search);
    HANDLE started = FindFirstFileA(pattern.c_str(), &found);
    if (started != INVALID_HANDLE_VALUE) {
      *search = started;
      have = true;
    }
  } else if (*search) {
    have = FindNextFileA(*search, &found) != 0;
  }
  while (have) {
    if (found.dwFileAttributes & kShownAttributes) return found.cFileName;
    have = FindNextFileA(*search, &found) != 0;
  }
  find_close(search);
  return std::string();
}

void find_close(HANDLE* search) {
  if (*search) FindClose(*search);
  *search = nullptr;
}
