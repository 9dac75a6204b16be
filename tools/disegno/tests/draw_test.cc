// `scenario draw` run as a process: a clean drawing beside the binary files,
// the committed drawing of the embedded scenario kept up to date, missing and
// damaged files that leave nothing written, the profile alone without a line
// file, the largest line kept small, and the drawing opened in headless
// Chromium.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

#include "support/piattaforma_silenziosa.h"
#include "support/scenario_massimo.h"
#include "disegno/tests/supporto.h"

namespace fs = std::filesystem;

namespace {

using namespace supporto;

// Every file of a folder with its content.
std::map<std::string, std::string> istantanea(const fs::path& cartella) {
  std::map<std::string, std::string> tutto;
  for (const auto& f : fs::directory_iterator(cartella))
    tutto[f.path().filename().string()] = f.is_directory() ? "<cartella>" : f.is_fifo() ? "<fifo>" : leggi(f.path());
  return tutto;
}

// The data of the track's path in a drawing.
std::string percorso_binario(const std::string& svg) {
  const std::string inizio = "class=\"binario\" d=\"";
  size_t p = svg.find(inizio);
  if (p == std::string::npos) return {};
  p += inizio.size();
  return svg.substr(p, svg.find('"', p) - p);
}

class draw_test : public testing::Test {
 protected:
  void SetUp() override {
    borvale = scenario_della_cartella("borvale");
    ASSERT_EQ(costruisci(borvale, dir.percorso()), "");
  }

  std::vector<std::string> draw(std::vector<std::string> altro = {}) const {
    std::vector<std::string> a = {"draw", "--name", borvale.nome, "--number", borvale.numero};
    a.insert(a.end(), altro.begin(), altro.end());
    return a;
  }

  cartella_temporanea dir;
  scenario_di_prova borvale;
};

TEST_F(draw_test, disegna_accanto_ai_file_binari_senza_dire_nulla) {
  auto prima = istantanea(dir.percorso());
  esito_processo e = strumento(draw(), dir.percorso());
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(e.errori, "");
  EXPECT_EQ(e.stampa, "");
  auto dopo = istantanea(dir.percorso());
  ASSERT_EQ(dopo.count(borvale.file_svg()), 1u);
  const std::string svg = dopo[borvale.file_svg()];
  dopo.erase(borvale.file_svg());
  EXPECT_EQ(dopo, prima);
  for (const char* nome : {"BORVALE P.F.", "BORVALE P.R.", "Ultima stazione"})
    EXPECT_NE(svg.find(nome), std::string::npos);
  EXPECT_EQ(conta(svg, "data-segno=\"stazione\""), 3u);
  EXPECT_EQ(conta(svg, "data-segno=\"segnale\""), 1u);
  EXPECT_EQ(conta(svg, "data-segno=\"cartello\""), 0u);
  EXPECT_EQ(conta(svg, "data-segno=\"indicatore\""), 0u);
  EXPECT_EQ(conta(svg, "data-segno=\"rallentamento\""), 0u);

  // From another folder, with --dir and --out; the same drawing.
  fs::create_directory(dir / "altrove");
  e = strumento(draw({"--dir", "..", "--out", "disegno.svg"}), dir / "altrove");
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(leggi(dir / "altrove" / "disegno.svg"), svg);
}

// A signal past the route's end: drawn in the warning colour, and said on
// standard error, with the status of a drawing.
TEST_F(draw_test, un_elemento_oltre_la_fine_e_un_avviso) {
  const fs::path c = fs::path(SCENARI_DIR) / "borvale";
  std::string treno = leggi(c / "treno.txt");
  const std::string segnali = "[segnali]\r\n";
  treno.insert(treno.find(segnali) + segnali.size(), "segnale,    4500,   1, 2, 1,  0, 0,    0,  0,0,0, 0\r\n");
  scrivi(dir / "treno.txt", treno);
  esito_processo b = strumento({"build", "--name", borvale.nome, "--number", borvale.numero, "--line",
                                (c / "linea.txt").string(), "--train", "treno.txt"},
                               dir.percorso());
  ASSERT_EQ(b.stato, 0) << b.errori;
  EXPECT_NE(b.errori.find("treno.txt:"), std::string::npos) << b.errori;

  esito_processo e = strumento(draw(), dir.percorso());
  EXPECT_EQ(e.stato, 0);
  EXPECT_EQ(e.errori, "\"./" + borvale.file_svg() +
                          "\": attenzione: 1 elemento oltre la fine del percorso di 4000 m, segnato nel disegno nel "
                          "colore degli avvisi\n");
  const std::string svg = leggi(dir / borvale.file_svg());
  EXPECT_EQ(conta(svg, "data-avviso=\"oltre_fine_percorso\""), 2u);  // in the map and in the profile
  EXPECT_NE(svg.find("  ·  1 elemento oltre la fine del percorso</tspan>"), std::string::npos);
}

TEST_F(draw_test, il_disegno_nel_repository_e_aggiornato) {
  ASSERT_EQ(strumento(draw(), dir.percorso()).stato, 0);
  EXPECT_TRUE(leggi(dir / borvale.file_svg()) == leggi(DISEGNO_BORVALE))
      << "tools/disegno/disegno_borvale.svg is not what `scenario draw` makes of the embedded scenario now; copy "
      << (dir / borvale.file_svg()) << " over it";
}

struct caso_errore {
  const char* nome;
  std::function<void(const fs::path& cartella, const scenario_di_prova& s)> prepara;
  std::vector<std::string> altro;
  int stato;
  std::string messaggio;
};

TEST_F(draw_test, file_mancanti_o_guasti_non_lasciano_nulla) {
  cartella_temporanea altra;
  ASSERT_EQ(costruisci(scenario_della_cartella("valdigrano"), altra.percorso()), "");
  const scenario_di_prova valdigrano = scenario_della_cartella("valdigrano");

  auto togli_ultimo_byte = [](const fs::path& p) {
    std::string d = leggi(p);
    d.pop_back();
    scrivi(p, d);
  };
  const caso_errore casi[] = {
      {"manca il .sim", [](auto& c, auto& s) { fs::remove(c / s.file_sim()); }, {}, 1, "manca il file"},
      {"manca il .dat", [](auto& c, auto& s) { fs::remove(c / s.file_dat()); }, {}, 1, "manca il file"},
      {".dat troncato",
       [&](auto& c, auto& s) { togli_ultimo_byte(c / s.file_dat()); },
       {},
       1,
       "non è un file valido (griglia del percorso): offset 3300"},
      {".sim con un byte in più",
       [](auto& c, auto& s) { scrivi(c / s.file_sim(), leggi(c / s.file_sim()) + "x"); },
       {},
       1,
       "non è un file valido (voci di testata)"},
      {"file della linea troncato",
       [&](auto& c, auto& s) { togli_ultimo_byte(c / s.file_linea()); },
       {},
       1,
       "non è un file valido (file della linea)"},
      {"file della linea con un tipo sconosciuto",
       [](auto& c, auto& s) {
         std::string d = leggi(c / s.file_linea());
         d[0] = 7;
         scrivi(c / s.file_linea(), d);
       },
       {},
       1,
       "offset 0: elemento 0 con codice di tipo sconosciuto 7"},
      {".dat di un altro scenario",
       [&](auto& c, auto& s) {
         fs::copy_file(altra / valdigrano.file_dat(), c / s.file_dat(), fs::copy_options::overwrite_existing);
       },
       {},
       1,
       "non vengono dalla stessa costruzione"},
      {"file della linea di un altro scenario",
       [&](auto& c, auto& s) {
         fs::copy_file(altra / valdigrano.file_linea(), c / s.file_linea(), fs::copy_options::overwrite_existing);
       },
       {},
       1,
       "non vengono dalla stessa costruzione"},
      {".sim illeggibile",
       [](auto& c, auto& s) {
         fs::remove(c / s.file_sim());
         fs::create_directory(c / s.file_sim());
       },
       {},
       1,
       "impossibile leggere"},
      {".dat che è una FIFO",
       [](auto& c, auto& s) {
         fs::remove(c / s.file_dat());
         ASSERT_EQ(::mkfifo((c / s.file_dat()).c_str(), 0600), 0);
       },
       {},
       1,
       "non è un file ordinario ma una FIFO"},
      {"un nome con una cartella", [](auto&, auto&) {}, {"--name", "../Borvale PF_Borvale PR"}, 2, "--name"},
      {"il disegno al posto di un file binario",
       [](auto&, auto&) {},
       {"--out", "Borvale PF_Borvale PR_31758.dat"},
       2,
       "prenderebbe il posto"},
      {"un disegno che non finisce con .svg",
       [](auto&, auto&) {},
       {"--out", "disegno.png"},
       2,
       "il disegno \"disegno.png\" è un SVG: il nome finisce con .svg"},
      {"una cartella di uscita che non c'è",
       [](auto&, auto&) {},
       {"--out", "manca/disegno.svg"},
       3,
       "impossibile scrivere il file \"manca/disegno.svg\""},
  };
  for (const caso_errore& c : casi) {
    SCOPED_TRACE(c.nome);
    cartella_temporanea caso;
    for (const std::string& f : {borvale.file_sim(), borvale.file_dat(), borvale.file_linea()})
      fs::copy_file(dir / f, caso / f);
    // An older drawing stays as it was.
    scrivi(caso / borvale.file_svg(), "vecchio");
    c.prepara(caso.percorso(), borvale);
    auto prima = istantanea(caso.percorso());
    std::vector<std::string> argomenti = draw();
    if (!c.altro.empty() && c.altro[0] == "--name")
      argomenti[2] = c.altro[1];
    else
      argomenti.insert(argomenti.end(), c.altro.begin(), c.altro.end());
    esito_processo e = strumento(argomenti, caso.percorso());
    EXPECT_EQ(e.stato, c.stato) << e.errori;
    EXPECT_NE(e.errori.find(c.messaggio), std::string::npos) << e.errori;
    EXPECT_EQ(std::count(e.errori.begin(), e.errori.end(), '\n'), 1) << e.errori;
    EXPECT_EQ(istantanea(caso.percorso()), prima);
  }
}

TEST_F(draw_test, senza_file_della_linea_disegna_il_profilo_e_lo_dice) {
  fs::remove(dir / borvale.file_linea());
  esito_processo e = strumento(draw(), dir.percorso());
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_NE(e.errori.find("solo il profilo"), std::string::npos) << e.errori;
  EXPECT_NE(e.errori.find(borvale.file_linea()), std::string::npos) << e.errori;
  const std::string svg = leggi(dir / borvale.file_svg());
  EXPECT_EQ(svg.find("id=\"mappa\""), std::string::npos);
  EXPECT_NE(svg.find("id=\"profilo\""), std::string::npos);
  EXPECT_EQ(conta(svg, "data-guida=\"stazione\""), 3u);
}

TEST(draw_linea_massima, la_linea_piu_lunga_resta_un_disegno_piccolo) {
  cartella_temporanea cartella;
  const scenario_generato s = genera_scenario_massimo();
  {
    piattaforma_silenziosa sistema(cartella.percorso());
    Form1 form(sistema);
    ASSERT_EQ(costruisci(form, s), 0);
    ASSERT_EQ(form.codice_errore, 0);
  }
  esito_processo e = strumento({"draw", "--name", s.nome_scenario, "--number", s.numero_treno}, cartella.percorso());
  ASSERT_EQ(e.stato, 0) << e.errori;
  const std::string svg = leggi(cartella / (s.nome_scenario + "_" + s.numero_treno + ".svg"));
  EXPECT_LT(svg.size(), 2'500'000u);
  const std::string binario = percorso_binario(svg);
  const auto punti = std::count(binario.begin(), binario.end(), 'L') + std::count(binario.begin(), binario.end(), 'M');
  EXPECT_GT(punti, 100);
  EXPECT_LT(punti, 10'000);
  // Every feature the generator planned has its mark on the map.
  const attesi_scenario& a = s.attesi;
  EXPECT_EQ(conta(svg, "data-segno=\"stazione\""), static_cast<size_t>(a.stazioni));
  EXPECT_EQ(conta(svg, "data-segno=\"segnale\""), static_cast<size_t>(a.segnali));
  EXPECT_EQ(conta(svg, "data-segno=\"cartello\""), static_cast<size_t>(a.cartelli));
  EXPECT_EQ(conta(svg, "data-segno=\"indicatore\""), static_cast<size_t>(a.indicatori));
  EXPECT_EQ(conta(svg, "data-segno=\"rallentamento\""), static_cast<size_t>(a.rallentamenti));
}

// --- headless Chromium -------------------------------------------------------------

std::optional<std::string> cerca_chromium() {
  const char* path = std::getenv("PATH");
  std::string cartelle = path ? path : "/usr/bin";
  for (size_t p = 0; p <= cartelle.size();) {
    size_t q = cartelle.find(':', p);
    if (q == std::string::npos) q = cartelle.size();
    for (const char* nome : {"chromium", "chromium-browser"}) {
      fs::path candidato = fs::path(cartelle.substr(p, q - p)) / nome;
      if (::access(candidato.c_str(), X_OK) == 0) return candidato.string();
    }
    p = q + 1;
  }
  return std::nullopt;
}

// Runs Chromium headless on `indirizzo` and returns the page's DOM after load.
esito_processo dom_in_chromium(const std::string& chromium, const fs::path& cartella, const std::string& indirizzo) {
  return esegui_processo("timeout",
                         {"120", chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                          "--disable-quic", "--no-first-run", "--disable-background-networking",
                          "--disable-component-update", "--disable-sync",
                          "--user-data-dir=" + (cartella / "profilo").string(), "--dump-dom", indirizzo},
                         cartella);
}

TEST(draw_chromium, il_disegno_si_apre_senza_errori) {
  const std::optional<std::string> chromium = cerca_chromium();
  if (!chromium) {
    if (const char* ci = std::getenv("CI"); ci && *ci) FAIL() << "chromium is missing, and CI installs it";
    GTEST_SKIP() << "chromium is not installed (apt-get install chromium)";
  }
  cartella_temporanea cartella;
  // The scenario with every kind of feature, with the map and without it.
  const scenario_di_prova s = scenario_della_cartella("valdigrano");
  ASSERT_EQ(costruisci(s, cartella.percorso()), "");
  ASSERT_EQ(strumento({"draw", "--name", s.nome, "--number", s.numero, "--out", "mappa.svg"}, cartella.percorso()).stato,
            0);
  fs::remove(cartella / s.file_linea());
  ASSERT_EQ(
      strumento({"draw", "--name", s.nome, "--number", s.numero, "--out", "profilo.svg"}, cartella.percorso()).stato, 0);

  for (const char* nome : {"mappa.svg", "profilo.svg"}) {
    SCOPED_TRACE(nome);
    // As a document: parsed as XML without a parser error.
    esito_processo e = dom_in_chromium(*chromium, cartella.percorso(), "file://" + (cartella / nome).string());
    ASSERT_EQ(e.stato, 0) << e.errori;
    EXPECT_NE(e.stampa.find("<svg"), std::string::npos) << e.stampa.substr(0, 2000);
    EXPECT_EQ(e.stampa.find("parsererror"), std::string::npos) << e.stampa.substr(0, 2000);
    // As an image: decoded, at its own size.
    scrivi(cartella / "pagina.html",
           std::string("<!DOCTYPE html><html><head><title>in attesa</title></head><body><img src=\"") + nome +
               "\" onload=\"document.title = 'disegnato ' + this.naturalWidth + 'x' + this.naturalHeight\" "
               "onerror=\"document.title = 'errore'\"></body></html>");
    e = dom_in_chromium(*chromium, cartella.percorso(), "file://" + (cartella / "pagina.html").string());
    ASSERT_EQ(e.stato, 0) << e.errori;
    EXPECT_NE(e.stampa.find("<title>disegnato 1100x"), std::string::npos) << e.stampa.substr(0, 2000);
  }
}

}  // namespace
