// `scenario pack`, `unpack` and `new` as processes, with the real stub of
// this platform found beside the tool: a packed program alone in an empty
// folder writes what the program compiled for its scenario writes, the stub
// alone writes the embedded scenario, and a folder comes back byte for byte;
// an unpack cut short by a file-size limit leaves nothing, pack takes plain
// files only, and names reach the terminal escaped.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

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
  const esito_processo e = esegui(dir.percorso(), {"pack", valdigrano.string(), "--linux", programma, "--quiet"});
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
  // One line says what was written.
  EXPECT_TRUE(e.errori.starts_with("scenario unpack: 7 file scritti in \"indietro\" (Windows-1252); ")) << e.errori;
  EXPECT_EQ(std::count(e.errori.begin(), e.errori.end(), '\n'), 1) << e.errori;
  EXPECT_TRUE(istantanea(dir / "indietro") == istantanea(valdigrano));

  // A program without a payload: unpack says so and writes nothing.
  const esito_processo senza = esegui(dir.percorso(), {"unpack", SCENARIO_PACKAGE_EXE, "altro"});
  EXPECT_EQ(senza.stato, 1);
  EXPECT_TRUE(contiene(senza.errori, "non porta uno scenario")) << senza.errori;
  EXPECT_FALSE(fs::exists(dir / "altro"));
}

TEST(pacchetti_processo, new_poi_pack_poi_il_programma_senza_errori) {
  cartella_temporanea dir;
  // Asked for in Windows-1252, as the program holds it: the starter's own
  // folder.
  ASSERT_EQ(esegui(dir.percorso(), {"new", "mio", "--encoding", "windows-1252"}).stato, 0);
  EXPECT_TRUE(istantanea(dir / "mio") == istantanea(valdigrano));
  const esito_processo e = esegui(dir.percorso(), {"pack", "mio", "--linux", "p"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  // On success one line says what was written, and that no warning came.
  EXPECT_TRUE(e.errori.starts_with("scenario pack: scritto \"p\"; nessun avviso; ")) << e.errori;
  EXPECT_EQ(std::count(e.errori.begin(), e.errori.end(), '\n'), 1);

  // By default in UTF-8, as today's editors save: the accented letters as
  // UTF-8, and the same program packed from it.
  const esito_processo nuova = esegui(dir.percorso(), {"new", "utf8"});
  ASSERT_EQ(nuova.stato, 0);
  EXPECT_TRUE(nuova.errori.starts_with("scenario new: 7 file scritti in \"utf8\" (UTF-8); ")) << nuova.errori;
  const std::string note = istantanea(dir / "utf8").at("note.txt");
  EXPECT_NE(note.find("\xC3"), std::string::npos);
  EXPECT_EQ(esegui(dir.percorso(), {"pack", "utf8", "--linux", "q", "--quiet"}).errori, "");
  EXPECT_TRUE(istantanea(dir.percorso()).at("q") == istantanea(dir.percorso()).at("p"));
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

TEST(pacchetti_processo, un_unpack_oltre_il_limite_dei_file_non_lascia_nulla) {
  cartella_temporanea dir;
  ASSERT_EQ(esegui(dir.percorso(), {"pack", valdigrano.string(), "--linux", "p"}).stato, 0);
  // The slow-order form, some 3 KB, is over the limit; the files before it are not.
  const esito_processo e = esegui(dir.percorso(), {"unpack", "p", "fuori/sotto"}, 1000);
  EXPECT_EQ(e.stato, 3);
  EXPECT_TRUE(contiene(e.errori, "File too large (oltre la dimensione massima di un file")) << e.errori;
  EXPECT_TRUE(contiene(e.errori, "nulla è stato lasciato")) << e.errori;
  EXPECT_FALSE(fs::exists(dir / "fuori"));
  // A second try, without the limit, finds the place free.
  const esito_processo di_nuovo = esegui(dir.percorso(), {"unpack", "p", "fuori/sotto"});
  ASSERT_EQ(di_nuovo.stato, 0) << di_nuovo.errori;
  EXPECT_TRUE(istantanea(dir / "fuori" / "sotto") == istantanea(valdigrano));
}

TEST(pacchetti_processo, pack_prende_solo_file_ordinari) {
  struct caso {
    const char* descrizione;
    std::function<void(const fs::path&)> note;  // what takes note.txt's place
    const char* messaggio;
  };
  const caso casi[] = {
      {"un collegamento", [](const fs::path& p) { fs::create_symlink("/etc/passwd", p); },
       "note.txt: è un collegamento simbolico"},
      {"una FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
       "note.txt\": non è un file ordinario ma una FIFO"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    cartella_temporanea dir;
    fs::copy(valdigrano, dir / "mio");
    fs::remove(dir / "mio" / "note.txt");
    c.note(dir / "mio" / "note.txt");
    const esito_processo e = esegui(dir.percorso(), {"pack", "mio", "--linux", "p"});
    EXPECT_EQ(e.stato, 2);
    EXPECT_TRUE(contiene(e.errori, c.messaggio)) << e.errori;
    EXPECT_FALSE(fs::exists(dir / "p"));
  }
}

TEST(pacchetti_processo, i_caratteri_di_controllo_dei_nomi_non_arrivano_al_terminale) {
  cartella_temporanea dir;
  ASSERT_EQ(esegui(dir.percorso(), {"pack", valdigrano.string(), "--linux", "p"}).stato, 0);
  const std::string titolo = "\x1b]0;preso\x07";
  scrivi(dir / titolo, "un file, non una cartella");
  // A folder without its notes, named in a message unquoted: the tool's
  // standard error escapes what the message itself does not.
  fs::copy(valdigrano, dir / (titolo + "dir"));
  fs::remove(dir / (titolo + "dir") / "note.txt");
  struct caso {
    std::vector<std::string> argomenti;
    const char* messaggio;
  };
  const caso casi[] = {
      {{"unpack", "p", titolo}, "\"\\x1b]0;preso\\x07\" non è una cartella"},
      {{"pack", titolo + "manca"}, "\"\\x1b]0;preso\\x07manca\" non c'è"},
      {{"unpack", titolo + "manca", "fuori"}, "impossibile leggere \"\\x1b]0;preso\\x07manca\""},
      {{"pack", titolo + "dir"}, "\\x1b]0;preso\\x07dir/note.txt: manca"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.messaggio);
    const esito_processo e = esegui(dir.percorso(), c.argomenti);
    EXPECT_EQ(e.stato, 2);
    EXPECT_TRUE(contiene(e.errori, c.messaggio)) << e.errori;
    EXPECT_FALSE(contiene(e.errori, "\x1b")) << e.errori;
    EXPECT_FALSE(contiene(e.errori, "\x07")) << e.errori;
  }
}

}  // namespace
