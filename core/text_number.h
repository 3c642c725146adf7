// Numbers as text: the one way every period and stored number is read.
#pragma once
#include <cstdint>
#include <string>

// Folds full-width GBK forms to ASCII, then reads the leading integer as
// atoi does in the "C" locale, wrapping modulo 2^32.
int32_t text_to_int(const std::string& text);

// Decimal text of a number, as "%d" writes it.
std::string int_to_text(int32_t value);
