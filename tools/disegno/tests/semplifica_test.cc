// The reduction of long series: a simplified polyline keeps its ends and
// never strays farther than the tolerance from the points it drops, whatever
// their number; a step profile keeps every level exactly while it has room
// and each column's extremes when it has not.
#include "disegno/semplifica.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

double distanza_segmento(punto p, punto a, punto b) {
  const double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
  double t = l2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0) : 0.0;
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// The largest distance of any input point from the simplified polyline.
double scarto_massimo(const std::vector<punto>& punti, const std::vector<punto>& semplice) {
  double massimo = 0;
  for (const punto& p : punti) {
    double vicino = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i + 1 < semplice.size(); ++i)
      vicino = std::min(vicino, distanza_segmento(p, semplice[i], semplice[i + 1]));
    if (semplice.size() == 1) vicino = std::hypot(p.x - semplice[0].x, p.y - semplice[0].y);
    massimo = std::max(massimo, vicino);
  }
  return massimo;
}

// A track as the build makes one: straight, then curving by `k` a metre.
std::vector<punto> binario(size_t metri, double k) {
  std::vector<punto> p = {{0, 0}, {0, 1}};
  while (p.size() < metri) {
    const punto a = p[p.size() - 2], b = p.back();
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double kk = p.size() > metri / 3 ? k : 0;
    p.push_back({b.x + dx + kk * dy, b.y + dy - kk * dx});
  }
  return p;
}

TEST(semplifica_linea, pochi_punti_restano_come_sono) {
  EXPECT_TRUE(semplifica_linea({}, 1).empty());
  std::vector<punto> uno = {{3, 4}};
  ASSERT_EQ(semplifica_linea(uno, 1).size(), 1u);
  std::vector<punto> due = {{0, 0}, {5, 5}};
  ASSERT_EQ(semplifica_linea(due, 1).size(), 2u);
}

TEST(semplifica_linea, una_retta_si_riduce_ai_suoi_estremi) {
  std::vector<punto> retta;
  for (int i = 0; i <= 1000; ++i) retta.push_back({i * 0.6, i * 0.8});
  std::vector<punto> s = semplifica_linea(retta, 0.01);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s.front().x, 0);
  EXPECT_EQ(s.back().x, 600);
  EXPECT_EQ(s.back().y, 800);
}

TEST(semplifica_linea, punti_ripetuti_contano_come_uno) {
  std::vector<punto> fermo(50, punto{2, 2});
  EXPECT_EQ(semplifica_linea(fermo, 0.5).size(), 1u);
  std::vector<punto> andata_ritorno = {{0, 0}, {0, 0}, {10, 0}, {10, 0}, {0, 0}};
  // The turn at the far end is kept: dropping it would lose 10 m.
  EXPECT_EQ(semplifica_linea(andata_ritorno, 0.5).size(), 3u);
}

struct caso_linea {
  const char* nome;
  size_t metri;
  double k;
  double tolleranza;
  size_t al_massimo;  // points kept
};

void PrintTo(const caso_linea& c, std::ostream* o) { *o << c.nome; }

class semplifica_binario : public testing::TestWithParam<caso_linea> {};

TEST_P(semplifica_binario, resta_nella_tolleranza_con_pochi_punti) {
  const caso_linea& c = GetParam();
  std::vector<punto> p = binario(c.metri, c.k);
  std::vector<punto> s = semplifica_linea(p, c.tolleranza);
  ASSERT_GE(s.size(), 2u);
  EXPECT_EQ(s.front().x, p.front().x);
  EXPECT_EQ(s.front().y, p.front().y);
  EXPECT_EQ(s.back().x, p.back().x);
  EXPECT_EQ(s.back().y, p.back().y);
  EXPECT_LE(s.size(), c.al_massimo);
  // Checking every point against every segment is quadratic: only for the
  // smaller lines.
  if (p.size() * s.size() < 50'000'000) {
    EXPECT_LE(scarto_massimo(p, s), c.tolleranza * (1 + 1e-9));
  }
}

INSTANTIATE_TEST_SUITE_P(linee, semplifica_binario,
                         testing::Values(caso_linea{"curva_stretta", 20'000, 0.003, 0.5, 600},
                                         caso_linea{"curva_larga", 20'000, 0.0001, 0.5, 150},
                                         // The largest line at a picture's scale (some 500 m a pixel):
                                         // a million metres that wind round and round.
                                         caso_linea{"un_milione_di_metri", 1'007'000, 0.001, 150, 3000}),
                         [](const auto& info) { return std::string(info.param.nome); });

// Douglas-Peucker as written down: every distance measured exactly, the
// first farthest point kept. The drawing's SVG must not change by a byte
// with the way semplifica_linea finds that point.
std::vector<punto> semplifica_come_definita(const std::vector<punto>& punti, double tolleranza) {
  std::vector<char> tenuto(punti.size(), 0);
  tenuto.front() = tenuto.back() = 1;
  std::vector<std::pair<size_t, size_t>> da_fare = {{0, punti.size() - 1}};
  while (!da_fare.empty()) {
    auto [a, b] = da_fare.back();
    da_fare.pop_back();
    double massima = -1;
    size_t lontano = a;
    for (size_t i = a + 1; i < b; ++i) {
      const punto p = punti[i], pa = punti[a], pb = punti[b];
      const double dx = pb.x - pa.x, dy = pb.y - pa.y, l2 = dx * dx + dy * dy;
      const double t = l2 > 0 ? std::clamp(((p.x - pa.x) * dx + (p.y - pa.y) * dy) / l2, 0.0, 1.0) : 0.0;
      const double d = std::hypot(p.x - (pa.x + t * dx), p.y - (pa.y + t * dy));
      if (d > massima) massima = d, lontano = i;
    }
    if (massima > tolleranza) {
      tenuto[lontano] = 1;
      da_fare.emplace_back(a, lontano);
      da_fare.emplace_back(lontano, b);
    }
  }
  std::vector<punto> r;
  for (size_t i = 0; i < punti.size(); ++i)
    if (tenuto[i]) r.push_back(punti[i]);
  return r;
}

TEST(semplifica_linea, tiene_gli_stessi_punti_della_definizione) {
  // Curves, a straight run of integer metres (every distance exactly 0),
  // tiny offsets near the limits of a double, and ties: points as far as
  // each other from their chord, on both sides of it.
  std::vector<std::vector<punto>> linee = {binario(30'000, 0.002), binario(5'000, 0.00001)};
  std::vector<punto> retta_e_zigzag;
  for (int i = 0; i < 2000; ++i) retta_e_zigzag.push_back({static_cast<double>(i), 0});
  for (int i = 2000; i < 4000; ++i) retta_e_zigzag.push_back({static_cast<double>(i), i % 2 == 0 ? 1.0 : -1.0});
  for (int i = 4000; i < 4100; ++i) retta_e_zigzag.push_back({static_cast<double>(i), (i % 3) * 1e-160});
  linee.push_back(retta_e_zigzag);
  for (const auto& linea : linee)
    for (double tolleranza : {0.0, 1e-170, 0.5, 3.0}) {
      const std::vector<punto> attesa = semplifica_come_definita(linea, tolleranza);
      const std::vector<punto> s = semplifica_linea(linea, tolleranza);
      ASSERT_EQ(s.size(), attesa.size()) << linea.size() << " punti, tolleranza " << tolleranza;
      for (size_t i = 0; i < s.size(); ++i) {
        ASSERT_EQ(s[i].x, attesa[i].x) << i;
        ASSERT_EQ(s[i].y, attesa[i].y) << i;
      }
    }
}

TEST(profilo_a_gradini, con_spazio_ogni_livello_e_esatto) {
  const std::vector<double> v = {1, 1, 2, 2, 2, 0};
  const std::vector<punto> atteso = {{0, 1}, {2, 1}, {2, 2}, {5, 2}, {5, 0}, {6, 0}};
  std::vector<punto> g = profilo_a_gradini(v, 0.5);
  ASSERT_EQ(g.size(), atteso.size());
  for (size_t i = 0; i < g.size(); ++i) {
    EXPECT_EQ(g[i].x, atteso[i].x) << i;
    EXPECT_EQ(g[i].y, atteso[i].y) << i;
  }
  EXPECT_TRUE(profilo_a_gradini({}, 1).empty());
}

TEST(profilo_a_gradini, senza_spazio_ogni_colonna_tiene_i_suoi_estremi) {
  // 20140 cells, as many as the largest grid, in 983 columns: a value that
  // changes every cell.
  std::vector<double> v;
  for (int i = 0; i < 20140; ++i) v.push_back(i % 7 == 3 ? 40 : (i % 5) - 2);
  const double per_colonna = 20.5;
  std::vector<punto> g = profilo_a_gradini(v, per_colonna);
  EXPECT_LE(g.size(), 6u * 983u);
  EXPECT_EQ(g.front().x, 0);
  EXPECT_EQ(g.back().x, 20140);
  // In every column the outline reaches the column's lowest and highest value.
  for (int c = 0; c < 983; ++c) {
    const double x0 = std::ceil(c * per_colonna), x1 = std::ceil((c + 1) * per_colonna);
    double vmin = 1e9, vmax = -1e9;
    for (int i = static_cast<int>(x0); i < std::min<int>(static_cast<int>(x1), 20140); ++i) {
      vmin = std::min(vmin, v[static_cast<size_t>(i)]);
      vmax = std::max(vmax, v[static_cast<size_t>(i)]);
    }
    double gmin = 1e9, gmax = -1e9;
    for (const punto& p : g)
      if (p.x > x0 && p.x < x1) gmin = std::min(gmin, p.y), gmax = std::max(gmax, p.y);
    ASSERT_EQ(gmin, vmin) << "colonna " << c;
    ASSERT_EQ(gmax, vmax) << "colonna " << c;
  }
  // x never goes back.
  for (size_t i = 1; i < g.size(); ++i) ASSERT_GE(g[i].x, g[i - 1].x);
}

TEST(profilo_a_gradini, livelli_lunghi_restano_due_punti_anche_a_colonne) {
  std::vector<double> v(5000, 8);
  v.resize(10000, -3);
  std::vector<punto> g = profilo_a_gradini(v, 10);
  ASSERT_EQ(g.size(), 4u);
  EXPECT_EQ(g[0].y, 8);
  EXPECT_EQ(g[1].x, 5000);
  EXPECT_EQ(g[2].y, -3);
  EXPECT_EQ(g[3].x, 10000);
}

}  // namespace
