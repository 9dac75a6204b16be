// The edit distance between two spellings, for the hints that name the
// nearest known word to a misspelt one: a key or a section of the sources,
// a command of the author tool.
#pragma once

#include <cstddef>
#include <string_view>

// The edit distance of `a` and `b` (insertions, deletions, substitutions and
// swaps of two neighbours, each counting one), or `oltre` + 1 when it is more
// than `oltre`.
size_t distanza(std::string_view a, std::string_view b, size_t oltre);
