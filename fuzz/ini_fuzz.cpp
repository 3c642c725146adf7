// The INI reader on arbitrary bytes: it must neither crash nor give more than the
// buffer holds, for the names the program reads and for names the input itself holds.
#include <cstdint>
#include <string>

#include "core/text_number.h"
#include "persist/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  IniDocument document = ini_parse(text);
  static const char* keys[] = {"num", "point", "file", "mode", "del_mode", "time", "remark"};
  static const char* sections[] = {"Sweepwarden", "1", "2", "3", "sweepwarden", ""};
  for (const char* section : sections)
    for (const char* key : keys) {
      std::string value = ini_lookup(document, section, key, "default");
      if (value.size() >= kIniReadBuffer) __builtin_trap();
      text_to_int(value);
    }
  // Names taken from the input: the first line's text as a section, the second as a key.
  size_t cut = text.find('\n');
  std::string section = text.substr(0, cut == std::string::npos ? text.size() : cut);
  std::string key = cut == std::string::npos ? "" : text.substr(cut + 1, 16);
  for (size_t buffer : {size_t(1), size_t(2), size_t(7), kIniReadBuffer}) {
    std::string value = ini_lookup(document, section, key, "fallback", buffer);
    if (value.size() >= buffer) __builtin_trap();
  }
  int32_t last = ini_last_numbered_section(document, 2000000000);
  if (last < 0) __builtin_trap();
  return 0;
}
