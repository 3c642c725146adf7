// Stepping through GBK text by characters, not bytes: the second byte of a
// double-byte character may be 0x5C, the backslash.
#pragma once
#include <string>

// True for a byte that begins a double-byte GBK character.
inline bool is_gbk_lead_byte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Index of the last character that is a backslash, or npos.
std::string::size_type last_backslash(const std::string& text);

// True when the last character (not merely the last byte) is a backslash.
bool ends_with_backslash(const std::string& text);
