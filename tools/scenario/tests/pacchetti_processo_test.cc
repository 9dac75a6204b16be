// `scenario pack`, `unpack` and `new` as processes, with the real stub of
// this platform found beside the tool: a packed program alone in an empty
// folder writes what the program compiled for its scenario writes, the stub
// alone writes the embedded scenario, and a folder comes back byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "processo_strumento.h"
#include "support/cartella_temporanea.h"
#include "support/processo.h"

namespace {

namespace fs = std::filesystem;
using namespace processo_strumento;

const fs::path valdigrano = fs::path(SCENARI_DIR) / "valdigrano";
const std::string programma = "Valdigrano_Pieve Alta_20417";

// What a program leaves when it runs alone in an empty folder.
std::map<std::string, std::string> lascia(const fs::path& eseguibile) {
  cartella_temporanea c;
  const esito_processo e = esegui_in_cartella(eseguibile, c.percorso());
  EXPECT_EQ(e.stato, 0) << e.errori;
  return istantanea(c.percorso());
}

TEST(pacchetti_processo, un_programma_impacchettato_scrive_i_file_del_suo_programma_compilato) {
  cartella_temporanea dir;
  const esito_processo e = esegui(dir.percorso(), {"pack", valdigrano.string(), "--linux", programma});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(e.errori, "");
  // Executable as written, and nothing else left in the folder.
  EXPECT_NE(fs::status(dir / programma).permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_EQ(istantanea(dir.percorso()).size(), 1u);

  const auto attesi = lascia(SCENARIO_PACKAGE_VALDIGRANO_EXE);
  EXPECT_EQ(attesi.size(), 6u);
  EXPECT_TRUE(lascia(dir / programma) == attesi);
}

TEST(pacchetti_processo, il_programma_base_da_solo_scrive_lo_scenario_incorporato) {
  const fs::path base = fs::path(SCENARIO_EXE).parent_path() / "stub" / "scenario-package-linux";
  ASSERT_TRUE(fs::exists(base)) << base;
  const auto attesi = lascia(SCENARIO_PACKAGE_EXE);
  EXPECT_EQ(attesi.size(), 6u);
  EXPECT_TRUE(lascia(base) == attesi);
}

TEST(pacchetti_processo, impacchettato_due_volte_e_spacchettato_torna_la_cartella) {
  cartella_temporanea dir;
  for (int volta = 0; volta < 2; ++volta) {
    const esito_processo e = esegui(dir.percorso(), {"pack", valdigrano.string(), "--linux", "p"});
    ASSERT_EQ(e.stato, 0) << e.errori;
  }
  const esito_processo e = esegui(dir.percorso(), {"unpack", "p", "indietro"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(istantanea(dir / "indietro") == istantanea(valdigrano));

  // A program without a payload: unpack says so and writes nothing.
  const esito_processo senza = esegui(dir.percorso(), {"unpack", SCENARIO_PACKAGE_EXE, "altro"});
  EXPECT_EQ(senza.stato, 1);
  EXPECT_TRUE(contiene(senza.errori, "non porta uno scenario")) << senza.errori;
  EXPECT_FALSE(fs::exists(dir / "altro"));
}

TEST(pacchetti_processo, new_poi_pack_poi_il_programma_senza_errori) {
  cartella_temporanea dir;
  ASSERT_EQ(esegui(dir.percorso(), {"new", "mio"}).stato, 0);
  EXPECT_TRUE(istantanea(dir / "mio") == istantanea(valdigrano));
  const esito_processo e = esegui(dir.percorso(), {"pack", "mio", "--linux", "p"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(lascia(dir / "p").size(), 6u);
}

TEST(pacchetti_processo, senza_i_programmi_base_accanto_lo_dice) {
  // The tool copied elsewhere, without stub/ beside it.
  cartella_temporanea dir;
  fs::copy_file(SCENARIO_EXE, dir / "scenario");
  ASSERT_EQ(esegui(dir.percorso(), {"new", "mio"}).stato, 0);
  const esito_processo e = esegui_processo((dir / "scenario").string(), {"pack", "mio"}, dir.percorso());
  EXPECT_EQ(e.stato, 3);
  EXPECT_TRUE(contiene(e.errori, "manca il programma base per Windows \"" + (dir / "stub").string())) << e.errori;
  EXPECT_TRUE(contiene(e.errori, "archivio di rilascio")) << e.errori;
  EXPECT_FALSE(fs::exists(dir / (programma + ".exe")));
  EXPECT_FALSE(fs::exists(dir / programma));
}

}  // namespace
