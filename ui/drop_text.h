// The text a drop delivers: one path, or each path followed by CR LF. Plain C++.
#pragma once
#include <string>
#include <vector>

// The paths of a drop text in order. Splits at each CR LF, stepping over GBK
// double-byte characters whole; the text after the last CR LF counts only when
// it is not empty, so n dropped items give n pieces.
std::vector<std::string> split_drop_text(const std::string& text);

// The first path of a drop text (the editor takes one path and ignores the rest).
std::string first_drop_path(const std::string& text);

// Builds the drop text from the paths the platform lists.
std::string join_drop_text(const std::vector<std::string>& paths);
