// The data generated from a scenario folder hold every byte of its texts and
// names as written: quotes, backslashes, NUL and high bytes, blanks at the
// ends, digits right after an escaped byte, LF-only line ends, a last line
// without a line end, an empty text. The folder is byte_difficili/ beside this
// file; this program links its data in place of a real scenario's.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "sources/scenario_incorporato.h"

namespace {

using namespace std::string_view_literals;
using righe = std::vector<std::string_view>;

TEST(testi_generati, i_nomi_perdono_solo_la_fine_riga) {
  const scenario s = scenario_incorporato();
  EXPECT_EQ(s.nome_scenario, "Pr\xF2va; [x]"sv);
  EXPECT_EQ(s.numero_treno, "0042"sv);
}

TEST(testi_generati, ogni_riga_byte_per_byte) {
  const scenario s = scenario_incorporato();
  struct caso {
    const char* file;
    const std::vector<std::string>& lette;
    righe attese;
  };
  const caso casi[] = {
      {"linea.txt",
       s.linea,
       {"a\"b\\c"sv, "?? ;["sv, ""sv, "\0\x01\x7F\xFF"sv, "riferimento fine del file "sv,
        "\3501"sv,  // \350 (e grave) and the digit 1
        "12c,0a,"sv, "x,,"sv, "\t tab "sv, "]"sv}},
      // LF alone ends a line as CR LF does.
      {"treno.txt", s.treno, {"uno"sv, "due"sv, ""sv, "tre"sv}},
      // Mixed line ends, and a last line without one.
      {"note.txt", s.note, {"uno"sv, "due"sv, "ultima"sv}},
      {"rallentamenti.txt", s.rallentamenti, {}},
      {"scheda_treno.txt", s.scheda, {""sv}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.file);
    ASSERT_EQ(c.lette.size(), c.attese.size());
    for (size_t i = 0; i < c.attese.size(); ++i) {
      EXPECT_EQ(std::string(c.lette[i]), std::string(c.attese[i])) << "line " << i + 1;
    }
  }
}

}  // namespace
