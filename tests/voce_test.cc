// The header record: equality field by field, the text included.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "model/voce.h"

namespace {

// Two records differ when any one field does, whatever its place; a record
// equal to voce{} is cleared.
TEST(Voce, UgualeSoloInOgniCampo) {
  EXPECT_EQ(voce{}, voce{});
  const voce piena = {3, 100, -200, 300, 4, "BORVALE P.F.", 1, -1, 3, 4, 5, 6, 7, 8, 255, 48462};
  EXPECT_EQ(piena, piena);
  campi_voce([&](std::string_view nome, auto membro) {
    using tipo = std::remove_reference_t<decltype(voce{}.*membro)>;
    voce v;
    voce w = piena;
    if constexpr (std::is_same_v<tipo, std::string>) {
      v.*membro = "x";
      w.*membro += "x";
    } else {
      v.*membro = 1;
      w.*membro = static_cast<tipo>(w.*membro + 1);
    }
    EXPECT_NE(v, voce{}) << nome;
    EXPECT_NE(w, piena) << nome;
  });
}

}  // namespace
