#include "core/gbk_text.h"

std::string::size_type last_backslash(const std::string& text) {
  std::string::size_type found = std::string::npos;
  for (std::string::size_type i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (is_gbk_lead_byte(c) && i + 1 < text.size()) {
      ++i;  // step over the trail byte
    } else if (c == '\\') {
      found = i;
    }
  }
  return found;
}

bool ends_with_backslash(const std::string& text) {
  return !text.empty() && last_backslash(text) == text.size() - 1;
}
