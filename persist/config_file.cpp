#include "persist/config_file.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "core/app_state.h"
#include "core/task_table.h"
#include "core/text_number.h"
#include "persist/activity_log.h"
#include "removal/removal_actions.h"

namespace {

const char kCountsSection[] = "Sweepwarden";

bool read_whole_file(const std::string& path, std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  char buffer[65536];
  DWORD done = 0;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &done, nullptr) != 0) && done > 0) bytes.append(buffer, done);
  CloseHandle(file);
  return ok;
}

std::string ansi_of_wide(const wchar_t* text, size_t length) {
  if (length == 0) return std::string();
  int size = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &out[0], size, nullptr, nullptr);
  return out;
}

std::string ansi_of(const char* bytes, size_t length, UINT code_page) {
  if (length == 0) return std::string();
  int size = MultiByteToWideChar(code_page, 0, bytes, static_cast<int>(length), nullptr, 0);
  if (size <= 0) return std::string();
  std::vector<wchar_t> wide(static_cast<size_t>(size));
  MultiByteToWideChar(code_page, 0, bytes, static_cast<int>(length), wide.data(), size);
  return ansi_of_wide(wide.data(), wide.size());
}

std::string ansi_of_utf16(const std::string& bytes, size_t from, bool big_endian) {
  std::vector<wchar_t> wide;
  for (size_t at = from; at + 1 < bytes.size(); at += 2) {
    unsigned char low = static_cast<unsigned char>(bytes[at + (big_endian ? 1 : 0)]);
    unsigned char high = static_cast<unsigned char>(bytes[at + (big_endian ? 0 : 1)]);
    wide.push_back(static_cast<wchar_t>(low | (high << 8)));
  }
  return ansi_of_wide(wide.data(), wide.size());
}

// The text the profile reader works on, in the ANSI code page.
std::string platform_text(const std::string& bytes) {
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return ansi_of(bytes.data() + 3, bytes.size() - 3, CP_UTF8);
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) return ansi_of_utf16(bytes, 2, false);
  if (bytes.compare(0, 2, "\xFE\xFF") == 0) return ansi_of_utf16(bytes, 2, true);
  return ansi_of(bytes.data(), bytes.size(), CP_ACP);
}

// A file that the program must not replace: read-only, a folder, or held open
// by another program that does not share it for deletion.
bool may_replace(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
  HANDLE probe = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  CloseHandle(probe);
  return true;
}

void load_task(const IniDocument& file, int32_t i) {
  std::string section = int_to_text(i);
  std::string path = ini_read(file, section, "file");
  int32_t mode = text_to_int(ini_read(file, section, "mode", "3"));
  int32_t del_mode = text_to_int(ini_read(file, section, "del_mode", "2"));
  int32_t time = text_to_int(ini_read(file, section, "time", "3600"));
  std::string remark = ini_read(file, section, "remark");
  append_row(section);
  int32_t row = i - 1;
  set_cell(row, COL_FILE, path);
  if (*mode_text(mode)) set_cell(row, COL_MODE, mode_text(mode));
  if (*del_mode_text(del_mode)) set_cell(row, COL_DEL_MODE, del_mode_text(del_mode));
  set_cell(row, COL_TIME, int_to_text(time));
  set_cell(row, COL_REMARK, remark);
}

}  // namespace

IniDocument ini_load(const std::string& path) {
  std::string bytes;
  if (!read_whole_file(path, bytes)) {
    IniDocument missing;
    missing.exists = false;
    return missing;
  }
  return ini_parse(platform_text(bytes));
}

std::string ini_read(const IniDocument& file, const std::string& section, const std::string& key,
                     const std::string& fallback) {
  auto skip = [](const std::string& name) {
    size_t at = 0;
    while (at < name.size() && name[at] >= 0x01 && name[at] <= 0x20) ++at;
    return name.substr(at);
  };
  std::string s = skip(section), k = skip(key);
  if (s.empty() || k.empty()) return std::string();
  return ini_lookup(file, s, k, fallback);
}

bool replace_file_whole(const std::string& path, const std::string& text) {
  if (!may_replace(path)) return false;
  std::string temporary = path + ".saving";
  HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = write_all(file, text.data(), text.size()) && FlushFileBuffers(file);
  if (!CloseHandle(file)) ok = false;
  ok = ok && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileA(temporary.c_str());
  return ok;
}

void save_config() {
  std::string text;
  ini_write_section(text, kCountsSection);
  ini_write(text, "num", int_to_text(row_count()));
  ini_write(text, "point", int_to_text(point));
  int32_t rows = row_count();
  for (int32_t i = 1; i <= rows; ++i) {
    int32_t row = i - 1;
    ini_write_section(text, int_to_text(i));
    ini_write(text, "file", row_file(row));
    ini_write(text, "mode", int_to_text(row_mode(row)));
    ini_write(text, "del_mode", int_to_text(row_del_mode(row)));
    ini_write(text, "time", int_to_text(row_time(row)));
    ini_write(text, "remark", get_cell(row, COL_REMARK));
  }
  replace_file_whole(config_path(), text);  // a failed save is silent
  append_log("配置写入完成");
}

void load_config() {
  IniDocument file = ini_load(config_path());
  int32_t num = text_to_int(ini_read(file, kCountsSection, "num", "0"));
  point = text_to_int(ini_read(file, kCountsSection, "point", "0"));
  show_point();
  // Rows stop at the highest task section present, however large num is.
  int32_t last = ini_last_numbered_section(file, num);
  HWND table = controls.超级列表框1;
  if (table) SendMessageA(table, WM_SETREDRAW, FALSE, 0);  // one repaint for the whole table
  for (int32_t i = 1; i <= last; ++i) load_task(file, i);
  if (table) {
    SendMessageA(table, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(table, nullptr, TRUE);
  }
  append_log("配置读入完成");
}
