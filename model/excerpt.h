#pragma once
// Quoting a bad value from a user's file in a message: a value may be
// megabytes long or hold control bytes and NULs, and the message must stay
// one readable line either way.

#include <cstddef>
#include <string>

// text in double quotes: at most maxChars characters (a UTF-8 character
// is never cut in two), every control byte as \xNN, and when text is
// longer, "..." and its whole length: "ABCDEFGHIJKLMNOPQRST"... (10485760 bytes).
std::string QuotedExcerpt(const std::string& text, size_t maxChars = 20);
