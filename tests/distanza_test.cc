// The edit distance of the hints: a swap of neighbours counts one, and the
// answer stops at the limit and one.
#include "diagnosi/distanza.h"

#include <gtest/gtest.h>

namespace {

TEST(distanza, tra_due_grafie) {
  struct caso {
    const char* a;
    const char* b;
    size_t oltre;
    size_t attesa;
  };
  const caso casi[] = {
      {"", "", 3, 0},           {"abc", "abc", 3, 0},   {"abc", "abd", 3, 1},       {"abc", "acb", 3, 1},
      {"abc", "ab", 3, 1},      {"ab", "abc", 3, 1},    {"pendnza", "pendenza", 3, 1},
      {"kitten", "sitting", 3, 3},
      // Past the limit it is the limit and one, however far.
      {"kitten", "sitting", 2, 3}, {"a", "abcdefgh", 2, 3},  {"abcdefgh", "hgfedcba", 1, 2},
  };
  for (const caso& c : casi) EXPECT_EQ(distanza(c.a, c.b, c.oltre), c.attesa) << c.a << " " << c.b;
}

}  // namespace
