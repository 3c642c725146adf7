// Write-then-read on arbitrary tables: every value the writer stores comes back
// exactly (cut to what the read buffer holds), whatever blanks, quotes, "=", ";"
// or "[" it holds. Values hold no CR, LF or NUL: no field of the program can; nor
// do they end in a lone GBK lead byte, which would swallow a closing quote.
#include <cstdint>
#include <string>
#include <vector>

#include "core/gbk_text.h"
#include "persist/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The input is a list of values separated by 0x00; CR and LF are dropped.
  std::vector<std::string> values(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) values.emplace_back();
    else if (data[i] != '\r' && data[i] != '\n') values.back() += static_cast<char>(data[i]);
  }
  for (std::string& value : values) {
    size_t i = 0;
    while (i < value.size()) i += is_gbk_lead_byte(static_cast<unsigned char>(value[i])) ? 2 : 1;
    if (i > value.size()) value.pop_back();
  }
  static const char* keys[] = {"file", "mode", "del_mode", "time", "remark"};
  std::string text;
  ini_write_section(text, "Sweepwarden");
  ini_write(text, "num", std::to_string(values.size()));
  for (size_t i = 0; i < values.size(); ++i) {
    ini_write_section(text, std::to_string(i + 1));
    for (const char* key : keys) ini_write(text, key, values[i]);
  }
  IniDocument document = ini_parse(text);
  for (size_t i = 0; i < values.size(); ++i) {
    std::string expected = values[i].substr(0, kIniReadBuffer - 1);
    for (const char* key : keys)
      if (ini_lookup(document, std::to_string(i + 1), key, "<missing>") != expected) __builtin_trap();
  }
  if (ini_lookup(document, "Sweepwarden", "num", "") != std::to_string(values.size())) __builtin_trap();
  return 0;
}
