// The drop-text split on arbitrary bytes: the pieces, each followed by CR LF, give
// back the text (with CR LF added when it did not end in one), and no piece holds a
// CR LF that stands on a character boundary.
#include <cstdint>
#include <string>
#include <vector>

#include "core/gbk_text.h"
#include "ui/drop_text.h"

namespace {

// Walks the text by characters: counts the separators and tells whether it ends in one.
size_t separators(const std::string& text, bool* ends_in_one) {
  size_t count = 0;
  *ends_in_one = false;
  for (size_t i = 0; i < text.size();) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++count;
      i += 2;
      *ends_in_one = i == text.size();
    } else {
      i += is_gbk_lead_byte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> pieces = split_drop_text(text);
  std::string rebuilt;
  for (const std::string& piece : pieces) {
    bool unused;
    if (separators(piece, &unused) != 0) __builtin_trap();
    rebuilt += piece + "\r\n";
  }
  bool ends_in_separator = false;
  size_t count = separators(text, &ends_in_separator);
  if (pieces.size() != count + (text.empty() || ends_in_separator ? 0 : 1)) __builtin_trap();
  if (!text.empty() && rebuilt != (ends_in_separator ? text : text + "\r\n")) __builtin_trap();
  if (pieces.size() >= 2 && join_drop_text(pieces) != rebuilt) __builtin_trap();
  if (first_drop_path(text) != (pieces.empty() ? std::string() : pieces.front())) __builtin_trap();
  return 0;
}
