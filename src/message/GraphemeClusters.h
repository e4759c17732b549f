#pragma once
// Where a word may be cut without splitting what a reader sees as one
// character: a surrogate pair, a base and its combining marks, a variation
// selector or skin-tone modifier and what it modifies, a sequence joined by
// ZERO WIDTH JOINER (a family emoji), a pair of regional indicators (a flag).
// A practical subset of Unicode's extended grapheme clusters, enough for
// breaking words over lines.

#include <cstddef>
#include <string>

namespace Message {

// Whether a cut before text[index] leaves every cluster whole. The ends of
// the text are boundaries. Works on UTF-16 and UTF-32 alike.
bool IsClusterBoundary(const std::wstring& text, std::size_t index);

}  // namespace Message
