#include "core/text_number.h"

namespace {

std::string fold_full_width(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::string::size_type i = 0; i < text.size(); ++i) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead == 0) break;
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      continue;
    }
    if (i + 1 >= text.size() || text[i + 1] == '\0') break;  // lone lead byte
    unsigned char trail = static_cast<unsigned char>(text[++i]);
    if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      out += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out += '*';
    } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else {
      out += static_cast<char>(lead);
      out += static_cast<char>(trail);
    }
  }
  return out;
}

bool is_c_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int32_t text_to_int(const std::string& text) {
  std::string folded = fold_full_width(text);
  std::string::size_type i = 0;
  while (i < folded.size() && is_c_space(folded[i])) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) {
    negative = folded[i] == '-';
    ++i;
  }
  uint32_t value = 0;
  while (i < folded.size() && folded[i] >= '0' && folded[i] <= '9') {
    value = value * 10u + static_cast<uint32_t>(folded[i] - '0');
    ++i;
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

std::string int_to_text(int32_t value) { return std::to_string(value); }
