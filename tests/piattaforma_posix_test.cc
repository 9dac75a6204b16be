// The POSIX side of the platform seam on a real folder: a file that cannot be
// replaced ends the run; folders made with their parents, private working
// folders that never share a name, removed with what they hold, and two
// names of one file told as one; links never written through, only plain
// files read, and a file's state in one call.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "driver/form1.h"
#include "driver/scrittura_intera.h"
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
  // Relative, with nothing of it there: as the working folder makes it.
  EXPECT_TRUE(sistema.stesso_file("manca-qui.svg", "./manca-qui.svg"));
  EXPECT_FALSE(sistema.stesso_file("manca-qui.svg", "./manca-li.svg"));
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

namespace {

// Links planted where a write puts its temporary file and where its final
// file goes: nothing outside the folder is written, the planted names are
// passed over or replaced, and what the links point to keeps its bytes.
TEST(collegamenti_posix, una_scrittura_non_passa_mai_per_un_collegamento) {
  cartella_temporanea cartella, fuori;
  piattaforma_posix sistema(cartella.percorso());
  fuori.scrivi("bersaglio", "da non toccare");
  const fs::path bersaglio = fuori / "bersaglio";
  struct caso {
    const char* descrizione;
    std::vector<std::string> collegati;  // names in the folder that point to the target
    std::vector<std::string> spezzati;   // names that point to a missing file outside
  };
  const caso casi[] = {
      {"sul nome temporaneo", {"a.dat.parziale"}, {}},
      {"su un nome temporaneo che non c'è", {}, {"a.dat.parziale"}},
      {"sui primi due nomi temporanei", {"a.dat.parziale", "a.dat.parz0001"}, {}},
      {"sul nome finale", {"a.dat"}, {}},
      {"sul nome finale, verso un file che non c'è", {}, {"a.dat"}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    for (const auto& voce : fs::directory_iterator(cartella.percorso())) fs::remove(voce.path());
    for (const std::string& n : c.collegati) fs::create_symlink(bersaglio, cartella / n);
    for (const std::string& n : c.spezzati) fs::create_symlink(fuori / "nuovo", cartella / n);

    ASSERT_EQ(scrivi_per_intero(sistema, cartella / "a.dat", "nuovo"), std::nullopt);
    EXPECT_FALSE(fs::is_symlink(cartella / "a.dat"));
    EXPECT_EQ(cartella.leggi("a.dat"), "nuovo");
    EXPECT_EQ(fuori.leggi("bersaglio"), "da non toccare");
    EXPECT_FALSE(fs::exists(fuori / "nuovo"));
    // The links on temporary names stay as they were; nothing else is left.
    for (const std::string& n : c.collegati)
      if (n != "a.dat") {
        EXPECT_TRUE(fs::is_symlink(cartella / n)) << n;
      }
    size_t nomi = 0;
    for ([[maybe_unused]] const auto& voce : fs::directory_iterator(cartella.percorso())) ++nomi;
    size_t piantati = 0;
    for (const auto* v : {&c.collegati, &c.spezzati})
      for (const std::string& n : *v) piantati += n != "a.dat";
    EXPECT_EQ(nomi, 1 + piantati);
  }
}

TEST(collegamenti_posix, crea_solo_un_file_nuovo) {
  cartella_temporanea cartella, fuori;
  piattaforma_posix sistema(cartella.percorso());
  fuori.scrivi("bersaglio", "resta");
  cartella.scrivi("c'è", "vecchio");
  fs::create_symlink(fuori / "bersaglio", cartella / "collegamento");
  fs::create_symlink(fuori / "manca", cartella / "spezzato");
  fs::create_directory(cartella / "cartella");
  for (const char* nome : {"c'è", "collegamento", "spezzato", "cartella"}) {
    SCOPED_TRACE(nome);
    std::unique_ptr<file_in_scrittura> f;
    const esito e = sistema.crea(cartella / nome, f);
    EXPECT_FALSE(e.ok);
    EXPECT_TRUE(e.nome_occupato);
    EXPECT_EQ(f, nullptr);
  }
  EXPECT_EQ(cartella.leggi("c'è"), "vecchio");
  EXPECT_EQ(fuori.leggi("bersaglio"), "resta");
  EXPECT_FALSE(fs::exists(fuori / "manca"));
  std::unique_ptr<file_in_scrittura> f;
  const esito altrove = sistema.crea(cartella / "manca" / "x", f);
  EXPECT_FALSE(altrove.ok);
  EXPECT_FALSE(altrove.nome_occupato);

  EXPECT_TRUE(sistema.e_collegamento(cartella / "collegamento"));
  EXPECT_TRUE(sistema.e_collegamento(cartella / "spezzato"));
  EXPECT_FALSE(sistema.e_collegamento(cartella / "c'è"));
  EXPECT_FALSE(sistema.e_collegamento(cartella / "manca"));
}

// Only plain files are read: a FIFO nobody writes to, a device without end,
// a folder and a file beyond the limit are refused at once, with words that
// say why; a link to a plain file is read through.
TEST(lettura_posix, solo_file_ordinari_e_non_troppo_grandi) {
  cartella_temporanea cartella;
  piattaforma_posix sistema(cartella.percorso());
  ASSERT_EQ(::mkfifo((cartella / "fifo").c_str(), 0600), 0);
  fs::create_directory(cartella / "cartella");
  {
    // Sparse: no disk is used for it.
    std::ofstream(cartella / "grande", std::ios::binary);
    fs::resize_file(cartella / "grande", massimo_lettura + 1);
  }
  cartella.scrivi("piccolo", "testo");
  fs::create_symlink(cartella / "piccolo", cartella / "collegamento");
  struct caso {
    fs::path p;
    const char* motivo;
  };
  const caso casi[] = {
      {cartella / "fifo", "non è un file ordinario ma una FIFO"},
      {"/dev/zero", "non è un file ordinario ma un dispositivo"},
      {"/dev/urandom", "non è un file ordinario ma un dispositivo"},
      {cartella / "cartella", "Is a directory"},
      {cartella / "grande", "il file è troppo grande: 67108865 byte, al massimo 67108864 (64 MiB)"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.p.string());
    std::string letto = "prima";
    const esito e = sistema.leggi(c.p, letto);
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.motivo, c.motivo);
    // A range of it, the same; a range of a long file is no reason to refuse.
    std::string parte;
    const esito p = sistema.leggi_parte(c.p, 0, 1, parte);
    EXPECT_EQ(p.ok, c.p.filename() == "grande");
    if (!p.ok) {
      EXPECT_EQ(p.motivo, c.motivo);
    }
  }
  // A range beyond the end is refused before anything is set aside for it.
  std::string parte;
  EXPECT_EQ(sistema.leggi_parte(cartella / "piccolo", 1, SIZE_MAX - 1, parte).motivo, "il file è più corto del previsto");
  std::string letto;
  ASSERT_TRUE(sistema.leggi(cartella / "collegamento", letto));
  EXPECT_EQ(letto, "testo");
}

TEST(lettura_posix, stato_di_un_file_in_una_chiamata) {
  cartella_temporanea cartella;
  piattaforma_posix sistema(cartella.percorso());
  cartella.scrivi("f", "dodici byte!");
  fs::create_symlink(cartella / "f", cartella / "collegamento");
  ASSERT_EQ(::mkfifo((cartella / "fifo").c_str(), 0600), 0);
  stato_di_file f, c, d, fifo;
  ASSERT_TRUE(sistema.stato_file(cartella / "f", f));
  EXPECT_TRUE(f.regolare);
  EXPECT_EQ(f.dimensione, 12u);
  // Through the link, the file's own.
  ASSERT_TRUE(sistema.stato_file(cartella / "collegamento", c));
  EXPECT_TRUE(c.regolare);
  EXPECT_EQ(c.dimensione, 12u);
  EXPECT_EQ(c.modificato, f.modificato);
  ASSERT_TRUE(sistema.stato_file(cartella.percorso(), d));
  EXPECT_FALSE(d.regolare);
  ASSERT_TRUE(sistema.stato_file(cartella / "fifo", fifo));
  EXPECT_FALSE(fifo.regolare);
  EXPECT_FALSE(sistema.stato_file(cartella / "manca", d).ok);

  // Another time of change is another count.
  fs::last_write_time(cartella / "f", fs::last_write_time(cartella / "f") - std::chrono::seconds(10));
  stato_di_file prima;
  ASSERT_TRUE(sistema.stato_file(cartella / "f", prima));
  EXPECT_LT(prima.modificato, f.modificato);
}

}  // namespace
