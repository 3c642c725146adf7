#include "removal/file_services.h"

#include <windows.h>

#include "core/gbk_text.h"

bool path_exists(const std::string& path) {
  if (path.empty() || ends_with_backslash(path)) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}
