// The log file is brought up to date after every line. When it still holds exactly
// what this run last wrote, only the new bytes are appended; otherwise (deleted,
// replaced, or a write that failed) it is rewritten whole from log_buffer.
#include "persist/activity_log.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "core/app_state.h"
#include "persist/timestamp.h"

namespace {

// What this run last wrote to log.txt, to recognise the file on the next line.
struct WrittenLog {
  bool valid;
  unsigned long long size;
  DWORD volume;
  DWORD index_high, index_low;
};
WrittenLog written = {};

const size_t kTailCheck = 256;

LocalTime local_now() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void remember(HANDLE file, unsigned long long size) {
  BY_HANDLE_FILE_INFORMATION info = {};
  written.valid = GetFileInformationByHandle(file, &info) != 0;
  written.size = size;
  written.volume = info.dwVolumeSerialNumber;
  written.index_high = info.nFileIndexHigh;
  written.index_low = info.nFileIndexLow;
}

// True when the open file is the one this run wrote and still ends as it did.
bool holds_what_we_wrote(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!GetFileInformationByHandle(file, &info)) return false;
  unsigned long long size = (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (size != written.size || info.dwVolumeSerialNumber != written.volume ||
      info.nFileIndexHigh != written.index_high || info.nFileIndexLow != written.index_low)
    return false;
  size_t tail = static_cast<size_t>(std::min<unsigned long long>(size, kTailCheck));
  if (tail == 0) return true;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(size - tail);
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return false;
  std::vector<char> bytes(tail);
  DWORD read = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(tail), &read, nullptr) || read != tail) return false;
  return std::equal(bytes.begin(), bytes.end(), log_buffer.begin() + static_cast<std::ptrdiff_t>(size - tail));
}

bool append_new_bytes(const std::string& path) {
  if (!written.valid || written.size > log_buffer.size()) return false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = holds_what_we_wrote(file);
  if (ok) {
    LARGE_INTEGER end = {};
    ok = SetFilePointerEx(file, end, nullptr, FILE_END) != 0;
    size_t from = static_cast<size_t>(written.size);
    ok = ok && write_all(file, log_buffer.data() + from, log_buffer.size() - from);
    if (ok) {
      written.size = log_buffer.size();
    } else {
      written.valid = false;  // a partial append: rewrite whole next time
    }
  }
  if (!CloseHandle(file)) written.valid = false;
  return ok;
}

bool rewrite_whole(const std::string& path) {
  written.valid = false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = write_all(file, log_buffer.data(), log_buffer.size());
  if (ok) remember(file, log_buffer.size());
  if (!CloseHandle(file)) ok = false;
  if (!ok) written.valid = false;
  return ok;
}

}  // namespace

bool write_all(HANDLE file, const char* bytes, size_t length) {
  while (length > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(length, 1u << 30));
    DWORD done = 0;
    if (!WriteFile(file, bytes, chunk, &done, nullptr) || done != chunk) return false;
    bytes += done;
    length -= done;
  }
  return true;
}

bool write_whole_file(const std::string& path, std::initializer_list<const std::string*> parts) {
  if (path.empty()) return false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  for (const std::string* part : parts)
    if (ok && part && !part->empty()) ok = write_all(file, part->data(), part->size());
  if (!CloseHandle(file)) ok = false;
  return ok;
}

void forget_log_file() { written.valid = false; }

void append_log(const std::string& message) {
  log_buffer += timestamp_text(local_now());
  log_buffer += ' ';
  log_buffer += message;
  log_buffer += "\r\n";
  std::string path = log_path();
  if (!append_new_bytes(path)) rewrite_whole(path);
}
