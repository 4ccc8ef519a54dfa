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

// How much of a path a message shows.
inline constexpr size_t kShownPathChars = 160;
// A path as a message names it: as it is when it is one plain line (no
// control byte) of at most kShownPathChars characters, so ordinary names
// read as they always did; any other is quoted short with its control
// bytes escaped, as QuotedExcerpt() does, and can neither swamp a message
// nor reach a terminal as escape sequences.
std::string ShownPath(const std::string& path);
