#include "ui/drop_text.h"

#include "core/gbk_text.h"

std::vector<std::string> split_drop_text(const std::string& text) {
  std::vector<std::string> pieces;
  std::string::size_type start = 0, i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      pieces.push_back(text.substr(start, i - start));
      i += 2;
      start = i;
    } else {
      i += is_gbk_lead_byte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
  }
  if (start < text.size()) pieces.push_back(text.substr(start));
  return pieces;
}

std::string first_drop_path(const std::string& text) {
  std::vector<std::string> pieces = split_drop_text(text);
  return pieces.empty() ? std::string() : pieces.front();
}

std::string join_drop_text(const std::vector<std::string>& paths) {
  if (paths.size() == 1) return paths.front();
  std::string text;
  for (const std::string& path : paths) text += path + "\r\n";
  return text;
}
