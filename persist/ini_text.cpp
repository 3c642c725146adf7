#include "persist/ini_text.h"

#include <cstring>

#include "core/gbk_text.h"

namespace {

// Length of the character at text[at], not reaching past end.
size_t char_length(const std::string& text, size_t at, size_t end) {
  return is_gbk_lead_byte(static_cast<unsigned char>(text[at])) && at + 1 < end ? 2 : 1;
}

// The platform's blanks: ASCII white space and ^Z.
bool is_blank_byte(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }

bool blank_in(const std::string& text, size_t at, size_t end) {
  return char_length(text, at, end) == 1 && is_blank_byte(static_cast<unsigned char>(text[at]));
}

// Narrows [begin, end) by the blanks at both ends, stepping by characters.
void trim(const std::string& text, size_t& begin, size_t& end) {
  size_t last_kept = begin;
  size_t at = begin;
  bool leading = true;
  size_t first_kept = end;
  while (at < end) {
    size_t length = char_length(text, at, end);
    if (!blank_in(text, at, end)) {
      if (leading) first_kept = at;
      leading = false;
      last_kept = at + length;
    }
    at += length;
  }
  if (leading) {
    begin = end;
    return;
  }
  begin = first_kept;
  end = last_kept;
}

// A name as it takes part in matching: up to its first NUL, ASCII letters folded.
std::string folded(const std::string& text, size_t begin, size_t end) {
  std::string out;
  for (size_t at = begin; at < end;) {
    size_t length = char_length(text, at, end);
    char c = text[at];
    if (c == '\0') break;
    if (length == 1 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    out += c;
    if (length == 2) out += text[at + 1];
    at += length;
  }
  return out;
}

std::string folded(const std::string& text) { return folded(text, 0, text.size()); }

// Bounded searches: a search to the end of the text would make parsing quadratic.
size_t find_in(const std::string& text, char c, size_t begin, size_t end) {
  const void* found = begin < end ? std::memchr(text.data() + begin, c, end - begin) : nullptr;
  return found ? static_cast<size_t>(static_cast<const char*>(found) - text.data()) : end;
}

std::string up_to_nul(const std::string& text, size_t begin, size_t end) {
  return text.substr(begin, find_in(text, '\0', begin, end) - begin);
}

const IniKey* find_key(const IniDocument& document, const std::string& section, const std::string& key) {
  size_t section_begin = 0, section_end = section.size();
  size_t key_begin = 0, key_end = key.size();
  trim(section, section_begin, section_end);
  trim(key, key_begin, key_end);
  auto found = document.first_section.find(folded(section, section_begin, section_end));
  if (found == document.first_section.end()) return nullptr;
  std::string wanted = folded(key, key_begin, key_end);
  for (const IniKey& candidate : document.sections[found->second].keys)
    if (folded(candidate.name) == wanted) return &candidate;
  return nullptr;
}

// Character offsets of text, the end included.
std::vector<size_t> char_starts(const std::string& text) {
  std::vector<size_t> starts;
  size_t end = text.find('\0');
  if (end == std::string::npos) end = text.size();
  for (size_t at = 0; at < end; at += char_length(text, at, end)) starts.push_back(at);
  starts.push_back(end);
  return starts;
}

// The platform copies at most buffer_size - 1 characters, drops a pair of
// quotes around the value, then narrows the result into buffer_size - 1 bytes.
std::string copy_entry(const std::string& value, size_t buffer_size, bool strip_quotes) {
  std::vector<size_t> starts = char_starts(value);
  size_t chars = starts.size() - 1;
  size_t first = 0;
  bool quoted = false;
  if (strip_quotes && chars >= 2 && (value[0] == '"' || value[0] == '\'') &&
      value[starts[chars - 1]] == value[0]) {
    quoted = true;
    first = 1;
  }
  size_t room = buffer_size - 1;
  size_t count = chars - first;
  if (count > room) count = room;
  if (quoted && buffer_size >= chars - first && count > 0) --count;
  size_t begin = starts[first];
  size_t end = starts[first + count];
  while (end - begin > room) {  // whole characters that fit in the bytes
    --count;
    end = starts[first + count];
  }
  return value.substr(begin, end - begin);
}

bool needs_quotes(const std::string& value) {
  if (value.empty()) return false;
  std::vector<size_t> starts = char_starts(value);
  size_t chars = starts.size() - 1;
  if (blank_in(value, 0, value.size()) || blank_in(value, starts[chars - 1], value.size())) return true;
  return chars >= 2 && (value[0] == '"' || value[0] == '\'') && value[starts[chars - 1]] == value[0];
}

}  // namespace

bool ini_is_blank_at(const std::string& text, size_t at) { return at < text.size() && blank_in(text, at, text.size()); }

IniDocument ini_parse(const std::string& text) {
  IniDocument document;
  document.exists = true;
  document.sections.push_back(IniSection{});
  document.first_section.emplace(std::string(), 0);
  size_t at = 0, size = text.size();
  while (at < size) {
    size_t begin = at;
    while (at < size && text[at] != '\n' && text[at] != '\r') ++at;
    size_t end = at;
    while (at < size && (text[at] == '\n' || text[at] == '\r')) ++at;
    trim(text, begin, end);
    if (begin >= end) continue;
    if (text[begin] == '[') {
      size_t close = std::string::npos;
      for (size_t c = begin + 1; c < end; c += char_length(text, c, end))
        if (text[c] == ']') close = c;
      if (close != std::string::npos) {
        IniSection section;
        size_t name_begin = begin + 1, name_end = close;
        trim(text, name_begin, name_end);
        section.name = up_to_nul(text, name_begin, name_end);
        document.first_section.emplace(folded(section.name), document.sections.size());
        document.sections.push_back(std::move(section));
        continue;
      }
    }
    IniKey key;
    size_t equals = find_in(text, '=', begin, end);
    if (equals < end) {
      size_t name_end = equals, name_begin = begin;
      trim(text, name_begin, name_end);
      size_t value_begin = equals + 1, value_end = end;
      trim(text, value_begin, value_end);
      key.name = up_to_nul(text, begin, name_end);
      key.value = up_to_nul(text, value_begin, value_end);
      key.has_value = true;
    } else {
      key.name = up_to_nul(text, begin, end);
      key.has_value = false;
    }
    if (!key.name.empty()) document.sections.back().keys.push_back(std::move(key));
  }
  return document;
}

std::string ini_lookup(const IniDocument& document, const std::string& section, const std::string& key,
                       const std::string& fallback, size_t buffer_size) {
  if (buffer_size == 0) return std::string();
  // The default loses its trailing spaces (but never its first character).
  std::string def = fallback.substr(0, fallback.find('\0'));
  while (def.size() > 1 && def.back() == ' ') def.pop_back();
  if (!document.exists) return copy_entry(def, buffer_size, false);
  const IniKey* found = find_key(document, section, key);
  return copy_entry(found && found->has_value ? found->value : def, buffer_size, true);
}

int32_t ini_last_numbered_section(const IniDocument& document, int32_t limit) {
  int32_t last = 0;
  for (const auto& entry : document.first_section) {
    const std::string& name = entry.first;
    size_t begin = 0, end = name.size();
    if (begin >= end || end - begin > 10 || name[begin] == '0') continue;
    int64_t number = 0;
    bool digits = true;
    for (size_t i = begin; i < end && digits; ++i) {
      digits = name[i] >= '0' && name[i] <= '9';
      number = number * 10 + (name[i] - '0');
    }
    if (digits && number <= limit && number > last) last = static_cast<int32_t>(number);
  }
  return last;
}

void ini_write_section(std::string& out, const std::string& name) {
  if (!out.empty()) out += "\r\n";
  out += '[';
  out += name;
  out += "]\r\n";
}

void ini_write(std::string& out, const std::string& key, const std::string& value) {
  out += key;
  out += '=';
  if (needs_quotes(value)) {
    out += '"';
    out += value;
    out += '"';
  } else {
    out += value;
  }
  out += "\r\n";
}
