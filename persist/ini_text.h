// INI text in the ANSI code page (GBK), read and written in one pass.
// The reader answers as the platform's profile reader does; the writer stores
// every value so that both readers give it back byte for byte.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct IniKey {
  std::string name;
  std::string value;
  bool has_value;  // false for a line without "=": such a key reads as missing
};

struct IniSection {
  std::string name;
  std::vector<IniKey> keys;
};

struct IniDocument {
  bool exists;                       // false: every read gives its default
  std::vector<IniSection> sections;  // [0] holds the keys before the first header
  std::unordered_map<std::string, size_t> first_section;  // folded name -> first section of that name
};

// The size of the read buffer, terminating NUL included.
constexpr size_t kIniReadBuffer = 10240;

// Parses INI text. Lines end at CR, LF or any run of them; names are matched
// without regard to ASCII case; the first of duplicate sections or keys wins.
IniDocument ini_parse(const std::string& text);

// The value of key in section, as the platform's reader gives it with this default
// and a buffer of buffer_size: blanks and one pair of quotes around the value
// removed, cut to fit the buffer. A missing file, section or key gives the default.
std::string ini_lookup(const IniDocument& document, const std::string& section, const std::string& key,
                       const std::string& fallback, size_t buffer_size = kIniReadBuffer);

// The highest section named by a decimal number (no sign, no leading zero) that is
// at most limit; 0 when there is none.
int32_t ini_last_numbered_section(const IniDocument& document, int32_t limit);

// Writer: a section header line, and a key line whose value reads back exactly.
void ini_write_section(std::string& out, const std::string& name);
void ini_write(std::string& out, const std::string& key, const std::string& value);

// True for a character the reader strips around names and values (at text[at]).
bool ini_is_blank_at(const std::string& text, size_t at);
