#pragma once
// Bounded quotations of file text in messages: a 40 MB attribute value must not become a
// 40 MB log line.

#include <cstddef>
#include <string>
#include <string_view>

namespace quarnel {

const std::size_t kExcerptBytes = 64;

// The text between the marks, whole when it is at most kExcerptBytes long, else its first
// kExcerptBytes followed by "..." and the whole length: "abc" or "abcd..." (40000000 bytes).
// Texts are quoted after their conversion to code page 1252, one byte per character, so any
// cut falls between characters.
std::string quoted(std::string_view text, char open = '"', char close = '"');

} // namespace quarnel
