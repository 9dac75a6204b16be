// When the watch rebuilds, from looks at the sources at given times: a
// change is built once it has settled, a burst of writes is one build, a
// file that is missing for a moment (a save by renaming) is waited for, a
// change the prints do not show still builds, and nothing builds while
// nothing changes; the contents are read only near a change.
#include "osserva/sorveglianza.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/piattaforma_in_memoria.h"
#include "platform/piattaforma_di_sistema.h"
#include "support/cartella_temporanea.h"

namespace {

using namespace std::chrono_literals;

// One look: the two files as seen at a time, in ms from the start.
struct sguardo {
  int ms;
  impronta_file linea, treno;
  bool contenuto_cambiato = false;  // a change found by reading, before the look
};

struct caso_sorveglianza {
  const char* nome;
  std::vector<sguardo> sguardi;
  std::vector<int> costruzioni;  // the times of the looks that start a build
};

void PrintTo(const caso_sorveglianza& c, std::ostream* o) { *o << c.nome; }

impronta_file file(uint64_t dimensione, int64_t tempo) { return {true, dimensione, tempo}; }
const impronta_file manca{};

class sorveglianza_casi : public testing::TestWithParam<caso_sorveglianza> {};

TEST_P(sorveglianza_casi, costruisce_quando_serve) {
  const caso_sorveglianza& c = GetParam();
  sorveglianza s(50ms, 1000ms);
  const orologio::time_point zero{};
  std::vector<int> costruzioni;
  for (const sguardo& g : c.sguardi) {
    const orologio::time_point ora = zero + std::chrono::milliseconds(g.ms);
    if (g.contenuto_cambiato) s.cambiato(ora);
    if (s.guarda({g.linea, g.treno}, ora)) costruzioni.push_back(g.ms);
  }
  EXPECT_EQ(costruzioni, c.costruzioni);
}

const impronta_file a = file(100, 1), a2 = file(120, 2), a3 = file(130, 3), b = file(200, 1), b2 = file(210, 2);

INSTANTIATE_TEST_SUITE_P(
    tempi, sorveglianza_casi,
    testing::Values(
        caso_sorveglianza{"nulla_cambia_nulla_si_costruisce", {{0, a, b}, {50, a, b}, {100, a, b}, {5000, a, b}}, {}},
        caso_sorveglianza{"un_salvataggio_si_costruisce_quando_si_e_posato",
                          {{0, a, b}, {50, a2, b}, {60, a2, b}, {90, a2, b}, {100, a2, b}, {110, a2, b}},
                          {100}},
        // Written in three steps 20 ms apart, then both files: one build,
        // once the last write has settled.
        caso_sorveglianza{"scritture_vicine_sono_una_costruzione",
                          {{0, a, b},
                           {50, a2, b},
                           {70, a3, b},
                           {90, a3, b2},
                           {120, a3, b2},
                           {140, a3, b2},
                           {150, a3, b2},
                           {300, a3, b2}},
                          {140}},
        // An editor that moves the old file away and writes a new one: the
        // missing file is waited for, and the new one built once settled.
        caso_sorveglianza{"un_file_che_manca_un_momento_si_aspetta",
                          {{0, a, b}, {50, manca, b}, {110, manca, b}, {300, manca, b}, {320, a2, b}, {380, a2, b}},
                          {380}},
        // A file deleted for good: built after the patience, to report it,
        // and not again while it stays missing.
        caso_sorveglianza{"un_file_che_manca_davvero_si_riporta_una_volta",
                          {{0, a, b}, {50, a, manca}, {500, a, manca}, {1050, a, manca}, {1100, a, manca}, {3000, a, manca}},
                          {1050}},
        // The content changed under the same size and time: found by
        // reading, built once settled, once.
        caso_sorveglianza{"un_contenuto_cambiato_senza_impronta_si_costruisce",
                          {{0, a, b}, {50, a, b}, {1000, a, b, true}, {1020, a, b}, {1050, a, b}, {1100, a, b}},
                          {1050}},
        // The first look sets what the others compare with; a change since
        // then is built as any other.
        caso_sorveglianza{"il_primo_sguardo_e_il_riferimento",
                          {{0, a2, b2}, {50, a2, b2}, {100, a2, b}, {150, a2, b}},
                          {150}}),
    [](const auto& info) { return std::string(info.param.nome); });

// When the contents are read, as the watch's loop asks: a look every 10 ms
// for 20 s, a save that changes the prints at `salvato` (0: none) and one
// that changes only the contents at `solo_contenuto` (0: none), as a second
// save within a coarse clock's tick does. The contents are read once a
// second for five seconds after the start and after each change or build,
// never while the files lie still.
struct caso_letture {
  const char* nome;
  int salvato, solo_contenuto;
  std::vector<int> letture, costruzioni;
};

void PrintTo(const caso_letture& c, std::ostream* o) { *o << c.nome; }

class letture_casi : public testing::TestWithParam<caso_letture> {};

TEST_P(letture_casi, solo_vicino_a_un_cambiamento) {
  const caso_letture& c = GetParam();
  sorveglianza s(20ms, 1000ms, 1000ms, 5000ms);
  const orologio::time_point zero{};
  // The prints at `t`, and which content the files hold then.
  auto viste = [&](int t) { return std::vector<impronta_file>{c.salvato && t >= c.salvato ? a2 : a, b}; };
  auto versione = [&](int t) { return (c.salvato && t >= c.salvato ? 1 : 0) + (c.solo_contenuto && t >= c.solo_contenuto ? 1 : 0); };
  s.guarda(viste(0), zero);
  s.costruita(zero);
  int costruita = versione(0);
  std::vector<int> letture, costruzioni;
  for (int t = 10; t <= 20000; t += 10) {
    const orologio::time_point ora = zero + std::chrono::milliseconds(t);
    if (s.leggere_contenuti(ora)) {
      letture.push_back(t);
      if (versione(t) != costruita) s.cambiato(ora);
    }
    if (s.guarda(viste(t), ora)) {
      costruzioni.push_back(t);
      costruita = versione(t);
      s.costruita(ora);
    }
  }
  EXPECT_EQ(letture, c.letture);
  EXPECT_EQ(costruzioni, c.costruzioni);
}

INSTANTIATE_TEST_SUITE_P(
    tempi, letture_casi,
    testing::Values(
        caso_letture{"inattivo_non_legge", 0, 0, {1000, 2000, 3000, 4000, 5000}, {}},
        caso_letture{"un_salvataggio", 12000, 0, {1000, 2000, 3000, 4000, 5000, 12030, 13030, 14030, 15030, 16030},
                     {12020}},
        // The second save kept size and time: found by the reading after
        // the first, and then read for five seconds more.
        caso_letture{"due_salvataggi_nello_stesso_istante_del_file_system",
                     12000,
                     13500,
                     {1000, 2000, 3000, 4000, 5000, 12030, 13030, 14030, 15030, 16030, 17030, 18030, 19030},
                     {12020, 14050}}),
    [](const auto& info) { return std::string(info.param.nome); });

// Through the platform: in memory, with its clock set by the test, and on
// the disk, where a time set by hand must show.
TEST(impronta, vede_esistenza_dimensione_tempo_e_contenuto) {
  piattaforma_in_memoria memoria;
  const std::filesystem::path p = memoria.cartella_programma() / "treno.txt";
  EXPECT_FALSE(impronta(memoria, p).esiste);
  EXPECT_FALSE(impronta(memoria, memoria.cartella_programma()).esiste);  // a folder is not a source
  memoria.ora = 7;
  memoria.file["treno.txt"] = "stazione, 100";
  memoria.modificati["treno.txt"] = 7;
  EXPECT_EQ(impronta(memoria, p), file(13, 7));
  memoria.modificati["treno.txt"] = 8;
  EXPECT_EQ(impronta(memoria, p), file(13, 8));
  memoria.collegamenti["l.txt"] = "treno.txt";  // read through a link
  EXPECT_EQ(impronta(memoria, memoria.cartella_programma() / "l.txt"), file(13, 8));

  cartella_temporanea c;
  const std::unique_ptr<piattaforma> disco = piattaforma_di_sistema(c.percorso());
  const std::filesystem::path q = c / "treno.txt";
  EXPECT_FALSE(impronta(*disco, q).esiste);
  EXPECT_FALSE(impronta(*disco, c.percorso()).esiste);
  std::ofstream(q, std::ios::binary) << "stazione, 100";
  const impronta_file i = impronta(*disco, q);
  EXPECT_TRUE(i.esiste);
  EXPECT_EQ(i.dimensione, 13u);
  std::filesystem::last_write_time(q, std::filesystem::last_write_time(q) + std::chrono::seconds(5));
  EXPECT_NE(impronta(*disco, q), i);

  EXPECT_EQ(impronta_contenuto("stazione, 100"), impronta_contenuto("stazione, 100"));
  EXPECT_NE(impronta_contenuto("stazione, 100"), impronta_contenuto("stazione, 101"));
  EXPECT_NE(impronta_contenuto(""), 0u);  // 0 stands for a source that cannot be read
}

}  // namespace
