// text_to_int on arbitrary bytes, against a plain reference: fold the full-width
// forms, then read as the C library's strtoll reads, reduced modulo 2^32.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/text_number.h"

namespace {

std::string reference_fold(const uint8_t* data, size_t size) {
  std::string out;
  for (size_t i = 0; i < size && data[i] != 0; ++i) {
    if (data[i] < 0x80) {
      out += static_cast<char>(data[i]);
      continue;
    }
    if (i + 1 >= size || data[i + 1] == 0) break;
    uint8_t lead = data[i], trail = data[++i];
    if (lead == 0xA1 && trail == 0xA1) out += ' ';
    else if (lead == 0xA1 && trail == 0xAB) out += '~';
    else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) out += '*';
    else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) out += static_cast<char>(trail - 0x80);
    else {
      out += static_cast<char>(lead);
      out += static_cast<char>(trail);
    }
  }
  return out;
}

int32_t reference_value(const std::string& folded) {
  const char* text = folded.c_str();
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  // Only the last ten digits matter modulo 2^32 once the leading zeros are gone.
  std::string digits;
  while (*p >= '0' && *p <= '9') digits += *p++;
  size_t first = digits.find_first_not_of('0');
  digits = first == std::string::npos ? "0" : digits.substr(first);
  unsigned long long value = 0;
  if (digits.size() <= 18) {
    errno = 0;
    value = std::strtoull(digits.c_str(), nullptr, 10);
  } else {
    for (char c : digits) value = (value * 10 + static_cast<unsigned>(c - '0')) % 4294967296ull;
  }
  uint32_t wrapped = static_cast<uint32_t>(value % 4294967296ull);
  if (negative) wrapped = 0u - wrapped;
  return static_cast<int32_t>(wrapped);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  int32_t ours = text_to_int(text);
  int32_t expected = reference_value(reference_fold(data, size));
  if (ours != expected) __builtin_trap();
  return 0;
}
