// The POSIX side of the platform seam on a real folder: a file that cannot be
// replaced ends the run; folders made with their parents, private working
// folders that never share a name, removed with what they hold, and two
// names of one file told as one.
#include <gtest/gtest.h>

#include <filesystem>

#include "driver/form1.h"
#include "platform/posix/piattaforma_posix.h"
#include "support/cartella_temporanea.h"

namespace {

namespace fs = std::filesystem;

TEST(file_nuovo, su_disco_una_cartella_col_nome_del_file_ferma_il_programma) {
  cartella_temporanea cartella;
  struct con_messaggio : piattaforma_posix {
    using piattaforma_posix::piattaforma_posix;
    std::string ultimo;
    void messaggio(const std::string& t) override { ultimo = t; }
  } registrato(cartella.percorso());
  Form1 form(registrato);
  cartella.scrivi("vecchio.txt", "resta");
  std::filesystem::create_directory(cartella / "a.dat");
  int stato = -1;
  try {
    form.scrivi_file_nuovo("a.dat", "nuovo");
  } catch (const fine_programma& fine) {
    stato = fine.stato;
  }
  EXPECT_EQ(stato, 1);
  EXPECT_NE(registrato.ultimo.find((cartella / "a.dat").string()), std::string::npos) << registrato.ultimo;
  EXPECT_NE(registrato.ultimo.find("directory"), std::string::npos) << registrato.ultimo;
  EXPECT_EQ(cartella.leggi("vecchio.txt"), "resta");
  EXPECT_FALSE(std::filesystem::exists(cartella / "a.dat.parziale"));

  // And over a plain file of the same name, the new content replaces it whole.
  cartella.scrivi("b.dat", std::string(100, 'x'));
  form.scrivi_file_nuovo("b.dat", "nuovo");
  EXPECT_EQ(cartella.leggi("b.dat"), "nuovo");
}

TEST(cartelle_posix, create_temporanee_e_rimosse) {
  cartella_temporanea cartella;
  piattaforma_posix sistema(cartella.percorso());
  const fs::path sotto = cartella / "uno \xC3\xA8" / "due";
  EXPECT_FALSE(sistema.e_cartella(sotto));
  ASSERT_TRUE(sistema.crea_cartella(sotto));
  EXPECT_TRUE(sistema.e_cartella(sotto));
  EXPECT_TRUE(sistema.crea_cartella(sotto));  // already there

  fs::path t1, t2;
  ASSERT_TRUE(sistema.crea_cartella_temporanea(sotto, ".prova-", t1));
  ASSERT_TRUE(sistema.crea_cartella_temporanea(sotto, ".prova-", t2));
  EXPECT_NE(t1, t2);
  EXPECT_EQ(t1.parent_path(), sotto);
  EXPECT_TRUE(t1.filename().string().starts_with(".prova-")) << t1;
  cartella.scrivi("uno \xC3\xA8/due/" + t1.filename().string() + "/f.dat", "x");
  ASSERT_TRUE(sistema.crea_cartella(t1 / "dentro"));
  ASSERT_TRUE(sistema.rimuovi_cartella(t1));
  EXPECT_FALSE(sistema.esiste(t1));
  EXPECT_TRUE(sistema.e_cartella(t2));

  // A file where a folder should go, or above one.
  cartella.scrivi("file", "x");
  EXPECT_FALSE(sistema.crea_cartella(cartella / "file").ok);
  esito sopra = sistema.crea_cartella(cartella / "file" / "sotto");
  EXPECT_FALSE(sopra.ok);
  EXPECT_EQ(sopra.motivo, "Not a directory");
  EXPECT_FALSE(sistema.e_cartella(cartella / "file"));
  fs::path t;
  EXPECT_FALSE(sistema.crea_cartella_temporanea(cartella / "manca", ".prova-", t).ok);
}

TEST(cartelle_posix, due_nomi_di_un_file) {
  cartella_temporanea cartella;
  piattaforma_posix sistema(cartella.percorso());
  cartella.scrivi("file", "x");
  fs::create_directory(cartella / "d");
  EXPECT_TRUE(sistema.stesso_file(cartella / "file", cartella / "d" / ".." / "file"));
  EXPECT_FALSE(sistema.stesso_file(cartella / "file", cartella / "d"));
  // A name that is not there yet is compared as a path.
  EXPECT_TRUE(sistema.stesso_file(cartella / "manca", cartella / "d" / ".." / "manca"));
  EXPECT_FALSE(sistema.stesso_file(cartella / "manca", cartella / "file"));
}

}  // namespace

namespace {

TEST(file_posix, dimensione_parti_e_programmi) {
  cartella_temporanea cartella;
  piattaforma_posix sistema(cartella.percorso());
  std::string tutti;
  for (int i = 0; i < 70000; ++i) tutti += static_cast<char>(i * 31 + i / 256);
  cartella.scrivi("f.bin", tutti);
  uint64_t n = 0;
  ASSERT_TRUE(sistema.dimensione(cartella / "f.bin", n));
  EXPECT_EQ(n, tutti.size());

  std::string parte;
  ASSERT_TRUE(sistema.leggi_parte(cartella / "f.bin", 65530, 100, parte));
  EXPECT_EQ(parte, tutti.substr(65530, 100));
  ASSERT_TRUE(sistema.leggi_parte(cartella / "f.bin", tutti.size(), 0, parte));
  EXPECT_EQ(parte, "");
  // Beyond the end, a missing file, a folder: failures with a reason.
  const esito oltre = sistema.leggi_parte(cartella / "f.bin", tutti.size() - 10, 11, parte);
  EXPECT_FALSE(oltre.ok);
  EXPECT_EQ(oltre.motivo, "il file è più corto del previsto");
  EXPECT_FALSE(sistema.leggi_parte(cartella / "manca", 0, 1, parte).ok);
  EXPECT_FALSE(sistema.dimensione(cartella / "manca", n).ok);
  EXPECT_FALSE(sistema.dimensione(cartella.percorso(), n).ok);

  // A file made a program: run by its owner, read by everyone.
  ASSERT_TRUE(sistema.rendi_eseguibile(cartella / "f.bin"));
  const fs::perms p = fs::status(cartella / "f.bin").permissions();
  EXPECT_NE(p & fs::perms::owner_exec, fs::perms::none);
  EXPECT_NE(p & fs::perms::others_read, fs::perms::none);
  EXPECT_FALSE(sistema.rendi_eseguibile(cartella / "manca").ok);

  // The running program is this test's own file, whatever the program folder.
  EXPECT_EQ(fs::canonical(sistema.programma_in_esecuzione()), fs::canonical("/proc/self/exe"));
}

}  // namespace
