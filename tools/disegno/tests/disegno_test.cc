// The drawing in memory: what the scene reads out of real builds (where each
// feature stands on the route, slowdowns paired, chainage), the marks the SVG
// carries for them, the map's orientation and scale, texts converted and
// escaped, and the profile alone without a line file.
#include "disegno/disegno.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>

#include "disegno/tests/supporto.h"
#include "ispeziona/decodifica.h"

namespace {

using namespace supporto;

struct costruito {
  std::vector<cella> percorso;
  tabella_testata testata;
  punti_piani piani;
};

// Each scenario folder built once, with the tool, and decoded.
class disegno_scenari : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const char* cartella : {"borvale", "valdigrano"}) {
      scenario_di_prova s = scenario_della_cartella(cartella);
      cartella_temporanea uscita;
      std::string errore = costruisci(s, uscita.percorso());
      ASSERT_EQ(errore, "");
      costruito& c = costruiti[cartella];
      c.percorso = decodifica_percorso(uscita.leggi(s.file_dat()));
      c.testata = decodifica_testata(uscita.leggi(s.file_sim()));
      const std::string linea = uscita.leggi(s.file_linea());
      punti_da_immagine(linea, controlla_tracciato(linea), c.piani);
    }
  }
  static void TearDownTestSuite() { costruiti.clear(); }

  static inline std::map<std::string, costruito> costruiti;
};

// The screen points of the map marks of one kind, in document order.
std::vector<std::pair<double, double>> posti(const std::string& svg, const std::string& genere) {
  std::vector<std::pair<double, double>> p;
  const std::regex r("data-segno=\"" + genere + "\" cx=\"([-0-9.]+)\" cy=\"([-0-9.]+)\"");
  for (auto i = std::sregex_iterator(svg.begin(), svg.end(), r); i != std::sregex_iterator(); ++i)
    p.emplace_back(std::stod((*i)[1]), std::stod((*i)[2]));
  return p;
}

struct atteso_scena {
  const char* cartella;
  std::vector<std::pair<std::string, int32_t>> stazioni;  // name, metre of the stop
  std::vector<int32_t> segnali;
  std::vector<std::pair<std::string, int32_t>> cartelli;
  std::vector<std::pair<std::string, int32_t>> indicatori;           // speeds shown
  std::vector<std::tuple<int32_t, int32_t, int32_t>> rallentamenti;  // from, to, km/h
  std::vector<int32_t> avvisi;
  std::vector<std::tuple<int32_t, int32_t, int32_t>> montagne;  // from, to, type
  std::vector<std::pair<int32_t, std::string>> progressive;     // route metre, chainage
  int32_t fine;
};

const atteso_scena attesi[] = {
    {"borvale",
     {{"BORVALE P.F.", 100}, {"BORVALE P.R.", 1600}, {"Ultima stazione", 4150}},
     {900},
     {},
     {},
     {},
     {},
     {{1050, 1400, 2}},
     {{0, "87+850"}, {4000, "91+850"}},
     4250},
    {"valdigrano",
     {{"VALDIGRANO", 100}, {"FONTE ROSSA", 2900}, {"PIEVE ALTA", 6200}},
     {400, 1500, 3700, 5900},
     {{"Galleria Monte Aspro", 2300}, {"Ponte sul Grano", 4450}},
     {{"160", 1000}, {"90/150", 3900}},
     {{800, 950, 80}, {3200, 3600, 30}, {5300, 5600, 120}},
     {2000, 4100},
     // The third section joins the second (100 m apart) and becomes type 3.
     {{1450, 2550, 1}, {3500, 4000, 2}, {4100, 4600, 3}},
     {{0, "12+300"}, {2999, "15+299"}, {3000, "15+300"}, {6000, "18+300"}},
     6300},
};

TEST_F(disegno_scenari, la_scena_mette_ogni_elemento_al_suo_metro) {
  for (const atteso_scena& a : attesi) {
    SCOPED_TRACE(a.cartella);
    const costruito& c = costruiti.at(a.cartella);
    scena s = leggi_scena(c.percorso, c.testata);
    std::vector<std::pair<std::string, int32_t>> stazioni;
    for (const auto& x : s.stazioni) stazioni.emplace_back(x.testo, x.metro);
    EXPECT_EQ(stazioni, a.stazioni);
    std::vector<int32_t> segnali;
    for (const auto& x : s.segnali) segnali.push_back(x.metro);
    EXPECT_EQ(segnali, a.segnali);
    std::vector<std::pair<std::string, int32_t>> cartelli, indicatori;
    for (const auto& x : s.cartelli) cartelli.emplace_back(x.testo, x.metro);
    for (const auto& x : s.indicatori) indicatori.emplace_back(x.testo, x.metro);
    EXPECT_EQ(cartelli, a.cartelli);
    EXPECT_EQ(indicatori, a.indicatori);
    std::vector<std::tuple<int32_t, int32_t, int32_t>> rallentamenti, montagne;
    for (const auto& x : s.rallentamenti) rallentamenti.emplace_back(x.da, x.a, x.valore);
    for (const auto& x : s.montagne) montagne.emplace_back(x.da, x.a, x.valore);
    EXPECT_EQ(rallentamenti, a.rallentamenti);
    EXPECT_EQ(montagne, a.montagne);
    std::vector<int32_t> avvisi;
    for (const auto& x : s.avvisi) avvisi.push_back(x.metro);
    EXPECT_EQ(avvisi, a.avvisi);
    for (const auto& [m, pk] : a.progressive) EXPECT_EQ(progressiva(s.riferimenti, m), pk) << m << " m";
    EXPECT_EQ(s.fine, a.fine);
    // One value of each layer for every cell of the drawn stretch.
    EXPECT_EQ(s.pendenza.size(), static_cast<size_t>((a.fine + 49) / 50));
    EXPECT_EQ(s.velocita.size(), s.pendenza.size());
    EXPECT_EQ(s.aderenza.size(), s.pendenza.size());
  }
}

TEST_F(disegno_scenari, i_livelli_sono_in_unita_del_percorso) {
  const costruito& c = costruiti.at("valdigrano");
  scena s = leggi_scena(c.percorso, c.testata);
  // Gradient 12 from 1500 m, speed 100 km/h from 1200 m, adhesion 80 from 2500 m.
  EXPECT_EQ(s.pendenza[30], 12);
  EXPECT_EQ(s.pendenza[29], 6);
  EXPECT_EQ(s.pendenza[110], -10);
  EXPECT_EQ(s.velocita[24], 100);
  EXPECT_EQ(s.velocita[23], 60);
  EXPECT_EQ(s.aderenza[50], 80);
  EXPECT_EQ(s.aderenza[49], 100);
}

TEST_F(disegno_scenari, il_disegno_ha_un_segno_per_elemento_e_i_nomi) {
  for (const atteso_scena& a : attesi) {
    SCOPED_TRACE(a.cartella);
    const costruito& c = costruiti.at(a.cartella);
    const std::string svg = disegna_svg(leggi_scena(c.percorso, c.testata), &c.piani);
    EXPECT_TRUE(
        svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\""));
    EXPECT_TRUE(svg.ends_with("</svg>\n"));
    EXPECT_EQ(conta(svg, "data-segno=\"stazione\""), a.stazioni.size());
    EXPECT_EQ(conta(svg, "data-segno=\"segnale\""), a.segnali.size());
    EXPECT_EQ(conta(svg, "data-segno=\"cartello\""), a.cartelli.size());
    EXPECT_EQ(conta(svg, "data-segno=\"indicatore\""), a.indicatori.size());
    EXPECT_EQ(conta(svg, "data-segno=\"rallentamento\""), a.rallentamenti.size());
    EXPECT_EQ(conta(svg, "data-segno=\"avviso\""), a.avvisi.size());
    EXPECT_EQ(conta(svg, "data-guida=\"stazione\""), a.stazioni.size());
    for (const auto& [nome, metro] : a.stazioni) EXPECT_GE(conta(svg, ">" + nome + "</text>"), 2u) << nome;
    for (const auto& [testo, metro] : a.cartelli) EXPECT_GE(conta(svg, ">" + testo + "</text>"), 1u) << testo;
    EXPECT_NE(svg.find(a.progressive.front().second), std::string::npos);
    EXPECT_EQ(conta(svg, "<text"), conta(svg, "</text>"));
    EXPECT_EQ(conta(svg, "<g"), conta(svg, "</g>"));
  }
}

TEST_F(disegno_scenari, la_mappa_ha_il_nord_in_alto) {
  // The embedded line runs north: its stations climb up the picture.
  const costruito& c = costruiti.at("borvale");
  const std::string svg = disegna_svg(leggi_scena(c.percorso, c.testata), &c.piani);
  auto p = posti(svg, "stazione");
  ASSERT_EQ(p.size(), 3u);
  EXPECT_GT(p[0].second, p[1].second);
  EXPECT_GT(p[1].second, p[2].second);
}

TEST(disegno, la_mappa_ha_la_stessa_scala_sui_due_assi) {
  // A line 1000 m north, then 1000 m east, with a signal at 0, 1000 and 2000 m.
  const int32_t lunghezza = 2000, totale = lunghezza + 7000;
  tabella_tracciato t;
  t.crea(totale);
  for (int32_t m = 0; m <= totale - 2; ++m) {
    t.metti_doppio(m, 0, m <= 1000 ? 0 : m - 1000);
    t.metti_doppio(m, 1, m <= 1000 ? m : 1000);
  }
  std::vector<cella> percorso(totale / 50 + 1);
  for (size_t i : {1u, 21u, 41u}) percorso[i].tipo = segnale;
  tabella_testata testata;
  testata[84].secondo = lunghezza;
  punti_piani piani;
  punti_da_immagine(t.immagine(), t.ultimo_metro(), piani);
  const std::string svg = disegna_svg(leggi_scena(percorso, testata), &piani);
  auto p = posti(svg, "segnale");
  ASSERT_EQ(p.size(), 3u);
  const double nord = p[0].second - p[1].second, est = p[2].first - p[1].first;
  EXPECT_GT(nord, 100);
  EXPECT_NEAR(p[0].first, p[1].first, 0.1);
  EXPECT_NEAR(p[1].second, p[2].second, 0.1);
  EXPECT_NEAR(nord, est, 0.2);
}

TEST(disegno, rallentamenti_accoppiati_per_velocita) {
  std::vector<cella> percorso(200);
  auto capo = [&](size_t i, uint8_t tipo, int16_t v) {
    percorso[i].tipo = tipo;
    percorso[i].dato1 = v;
  };
  // 50 km/h from cell 20 to 60, inside it 30 km/h from 30 to 40, then a
  // slowdown within one cell (start and end in cell 80: only the start is left).
  capo(20, inizio_rallentamento, 50);
  capo(30, inizio_rallentamento, 30);
  capo(40, fine_rallentamento, 30);
  capo(60, fine_rallentamento, 50);
  capo(80, inizio_rallentamento, 70);
  tabella_testata testata;
  testata[84].secondo = 2000;
  scena s = leggi_scena(percorso, testata);
  std::vector<std::tuple<int32_t, int32_t, int32_t>> r;
  for (const auto& x : s.rallentamenti) r.emplace_back(x.da, x.a, x.valore);
  EXPECT_EQ(r,
            (std::vector<std::tuple<int32_t, int32_t, int32_t>>{{950, 2950, 50}, {1450, 1950, 30}, {3950, 4000, 70}}));
  // The drawn stretch reaches the farthest feature past the route's end.
  EXPECT_EQ(s.fine, 4000);
}

TEST(disegno, riferimenti_nomi_e_celle_fuori_misura_non_rompono_nulla) {
  std::vector<cella> percorso(181);
  percorso[10].tipo = stazione;
  percorso[10].dato1 = 85;  // not a station record
  percorso[12].tipo = cartello;
  percorso[12].dato1 = -3;
  percorso[14].tipo = indicatore_v_max;  // all speeds 0
  tabella_testata testata;
  testata[84].secondo = 2000;
  scena s = leggi_scena(percorso, testata);
  ASSERT_EQ(s.stazioni.size(), 1u);
  EXPECT_EQ(s.stazioni[0].testo, "stazione 85");
  ASSERT_EQ(s.cartelli.size(), 1u);
  EXPECT_EQ(s.cartelli[0].testo, "");
  EXPECT_TRUE(s.riferimenti.empty());
  const std::string svg = disegna_svg(s, nullptr);
  EXPECT_EQ(svg.find(">progressiva</text>"), std::string::npos);
  EXPECT_TRUE(svg.ends_with("</svg>\n"));
}

// What lies past the route's end, as far as the files show it: a station by
// its record's position, point features and slowdowns by their cell, the
// area of a station with another after it; a terminus at the end, whose stop
// cell lies past it, is none.
TEST(disegno, gli_elementi_oltre_la_fine_del_percorso) {
  std::vector<cella> percorso(221);  // a 4000 m route
  tabella_testata testata;
  testata[84].secondo = 4000;
  auto segna = [&](size_t i, uint8_t tipo, int16_t dato1 = 0) {
    percorso[i].tipo = tipo;
    percorso[i].dato1 = dato1;
  };
  auto stazione_n = [&](int r, int32_t posizione, int32_t primo, int32_t secondo) {
    testata[static_cast<size_t>(r)].nome = "S" + std::to_string(r);
    testata[static_cast<size_t>(r)].terzo = posizione;
    testata[static_cast<size_t>(r)].primo = primo;
    testata[static_cast<size_t>(r)].secondo = secondo;
    segna(static_cast<size_t>(secondo / 50 - 1), stazione, static_cast<int16_t>(r));
  };
  stazione_n(1, 0, -200, 200);
  stazione_n(2, 3800, 3500, 4100);  // its area runs past the end, and a station follows
  stazione_n(3, 5000, 4800, 5200);  // past the end
  segna(91, segnale);                 // 4500 m
  segna(81, cartello, 80);            // 4000 m: at the end, not past it
  segna(85, indicatore_v_max, 12);    // 4200 m
  segna(87, inizio_rallentamento, 30);  // 4300 m
  segna(90, fine_rallentamento, 30);
  const scena s = leggi_scena(percorso, testata);

  std::vector<std::string> oltre;
  for (const auto* elenco : {&s.stazioni, &s.segnali, &s.cartelli, &s.indicatori})
    for (const scena::segno& x : *elenco)
      if (x.oltre_fine) oltre.push_back(x.dettaglio.substr(0, x.dettaglio.find(',')));
  for (const auto* elenco : {&s.rallentamenti, &s.aree_stazione})
    for (const scena::tratto& x : *elenco)
      if (x.oltre_fine) oltre.push_back("tratto " + std::to_string(x.da) + "-" + std::to_string(x.a));
  std::sort(oltre.begin(), oltre.end());
  EXPECT_EQ(oltre, (std::vector<std::string>{"S3", "indicatore di velocità 60 km/h", "segnale", "tratto 3500-4100",
                                             "tratto 4300-4450"}));
  EXPECT_EQ(oltre_la_fine(s), 5u);

  // Each is marked once in the profile, and the summary line counts them.
  const std::string svg = disegna_svg(s, nullptr);
  EXPECT_EQ(conta(svg, "data-avviso=\"oltre_fine_percorso\""), 5u);
  EXPECT_NE(svg.find("data-avvisi=\"5\">  ·  5 elementi oltre la fine del percorso</tspan>"), std::string::npos);
  EXPECT_NE(svg.find(">oltre la fine del percorso</text>"), std::string::npos);  // in the legend
}

TEST_F(disegno_scenari, gli_scenari_non_hanno_nulla_oltre_la_fine) {
  for (const auto& [cartella, c] : costruiti) {
    const scena s = leggi_scena(c.percorso, c.testata);
    EXPECT_EQ(oltre_la_fine(s), 0u) << cartella;
    const std::string svg = disegna_svg(s, &c.piani);
    EXPECT_EQ(svg.find("oltre-fine"), std::string::npos) << cartella;
    EXPECT_EQ(svg.find("oltre la fine"), std::string::npos) << cartella;
  }
}

struct caso_progressiva {
  std::vector<scena::riferimento> riferimenti;
  int64_t metro;
  const char* atteso;
};

TEST(disegno, progressiva_dal_riferimento_piu_vicino_prima) {
  const caso_progressiva casi[] = {
      {{{0, 87850}}, 0, "87+850"},
      {{{0, 87850}}, 150, "88+000"},
      {{{0, 12300}, {3000, 15300}}, 2999, "15+299"},
      {{{0, 12300}, {3000, 15300}}, 3000, "15+300"},
      {{{1000, 500}}, 0, "-0+500"},  // before every reference: from the first
      {{{0, 5}}, 0, "0+005"},
      {{}, 100, ""},
  };
  for (const auto& c : casi) EXPECT_EQ(progressiva(c.riferimenti, c.metro), c.atteso) << c.metro;
}

TEST_F(disegno_scenari, i_testi_sono_utf8_e_protetti_per_xml) {
  costruito c = costruiti.at("valdigrano");
  c.testata[2].nome = "Caff\xE8 & <Bar> \"\x80\"\x01";
  c.testata[80].nome = "Ponte </text><script>";
  const std::string svg = disegna_svg(leggi_scena(c.percorso, c.testata), &c.piani);
  EXPECT_NE(svg.find(">Caffè &amp; &lt;Bar&gt; &quot;€&quot;\xEF\xBF\xBD</text>"), std::string::npos);
  EXPECT_NE(svg.find("&lt;/text&gt;&lt;script&gt;"), std::string::npos);
  EXPECT_EQ(svg.find("<Bar>"), std::string::npos);
  EXPECT_EQ(svg.find("<script"), std::string::npos);
  EXPECT_EQ(svg.find('\x01'), std::string::npos);
}

TEST_F(disegno_scenari, senza_file_della_linea_solo_il_profilo) {
  const costruito& c = costruiti.at("valdigrano");
  const std::string svg = disegna_svg(leggi_scena(c.percorso, c.testata), nullptr);
  EXPECT_EQ(svg.find("id=\"mappa\""), std::string::npos);
  EXPECT_EQ(conta(svg, "data-segno="), 0u);
  EXPECT_NE(svg.find("id=\"profilo\""), std::string::npos);
  EXPECT_NE(svg.find("solo il profilo"), std::string::npos);
  EXPECT_EQ(conta(svg, "data-guida=\"stazione\""), 3u);
  EXPECT_NE(svg.find(">FONTE ROSSA</text>"), std::string::npos);
  // The legend names nothing that only the map has.
  EXPECT_EQ(svg.find(">stazione (fermata)</text>"), std::string::npos);
  EXPECT_NE(svg.find(">area di stazione</text>"), std::string::npos);
}

}  // namespace
