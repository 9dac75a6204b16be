// Douglas-Peucker over an explicit stack, and the column envelope of a step
// profile.
#include "disegno/semplifica.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A segment a-b, and the offset of a point from its nearest point on it
// (from a when the segment is a point); the offset's length is the distance.
struct segmento {
  segmento(const punto& da, const punto& a) : a(da), dx(a.x - da.x), dy(a.y - da.y), l2(dx * dx + dy * dy) {}
  punto scarto(const punto& p) const {
    double t = 0;
    if (l2 > 0) t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0);
    return {p.x - (a.x + t * dx), p.y - (a.y + t * dy)};
  }
  punto a;
  double dx, dy, l2;
};

// Below this the square of a distance may lose its last digits (or be 0
// for a distance that is not).
constexpr double distanza_minima_al_quadrato = 1e-100;
// A square below the largest times this belongs to a nearer point, whatever
// the rounding of either (a few units in the last place at most).
constexpr double quasi = 1 - 1e-9;

// Adds a corner, merging it into the last one when both lie on one level.
void aggiungi(std::vector<punto>& contorno, punto p) {
  const size_t n = contorno.size();
  if (n >= 2 && contorno[n - 1].y == p.y && contorno[n - 2].y == p.y) {
    contorno[n - 1].x = p.x;
    return;
  }
  if (n >= 1 && contorno[n - 1].x == p.x && contorno[n - 1].y == p.y) return;
  contorno.push_back(p);
}

}  // namespace

std::vector<punto> semplifica_linea(std::span<const punto> ingresso, double tolleranza) {
  // Consecutive equal points count as one: the line is copied without them
  // only when it has any.
  auto uguali = [](const punto& a, const punto& b) { return a.x == b.x && a.y == b.y; };
  std::vector<punto> senza_doppi;
  std::span<const punto> punti = ingresso;
  if (std::adjacent_find(ingresso.begin(), ingresso.end(), uguali) != ingresso.end()) {
    senza_doppi.reserve(ingresso.size());
    for (const punto& p : ingresso)
      if (senza_doppi.empty() || !uguali(senza_doppi.back(), p)) senza_doppi.push_back(p);
    punti = senza_doppi;
  }
  if (punti.size() <= 2) return {punti.begin(), punti.end()};

  std::vector<char> tenuto(punti.size(), 0);
  tenuto.front() = tenuto.back() = 1;
  std::vector<std::pair<size_t, size_t>> da_fare = {{0, punti.size() - 1}};
  // The squared offsets of a segment's points. Kept from one call to the
  // next on its thread: a million points' worth is 8 MB, not worth mapping
  // afresh every time (scenario watch draws again on every save).
  thread_local std::vector<double> quadrati;
  if (quadrati.size() < punti.size()) quadrati.resize(punti.size());
  while (!da_fare.empty()) {
    auto [a, b] = da_fare.back();
    da_fare.pop_back();
    const segmento ab(punti[a], punti[b]);
    // The farthest point is the first of the largest std::hypot, which is
    // slow. The squares of the offsets find the largest cheaply, in a tight
    // loop; then only the points whose square is near the largest take the
    // exact length (usually one does): a square clearly smaller belongs to
    // a nearer point, whatever the rounding of either.
    double quadrato_massimo = 0;
    for (size_t i = a + 1; i < b; ++i) {
      const punto s = ab.scarto(punti[i]);
      const double q = s.x * s.x + s.y * s.y;
      quadrati[i] = q;
      quadrato_massimo = q > quadrato_massimo ? q : quadrato_massimo;
    }
    // Tiny squares may have lost their digits: then every length is taken.
    const double sotto = quadrato_massimo > distanza_minima_al_quadrato ? quadrato_massimo * quasi : -1;
    double massima = -1;
    size_t lontano = a;
    for (size_t i = a + 1; i < b; ++i) {
      if (quadrati[i] < sotto) continue;
      const punto s = ab.scarto(punti[i]);
      const double d = std::hypot(s.x, s.y);
      if (d > massima) {
        massima = d;
        lontano = i;
      }
    }
    if (massima > tolleranza) {
      tenuto[lontano] = 1;
      da_fare.emplace_back(a, lontano);
      da_fare.emplace_back(lontano, b);
    }
  }
  std::vector<punto> risultato;
  for (size_t i = 0; i < punti.size(); ++i)
    if (tenuto[i]) risultato.push_back(punti[i]);
  return risultato;
}

std::vector<punto> profilo_a_gradini(std::span<const double> valori, double celle_per_colonna) {
  std::vector<punto> contorno;
  if (valori.empty()) return contorno;
  if (celle_per_colonna <= 1) {
    for (size_t i = 0; i < valori.size(); ++i) {
      aggiungi(contorno, {static_cast<double>(i), valori[i]});
      aggiungi(contorno, {static_cast<double>(i + 1), valori[i]});
    }
    return contorno;
  }
  // Column c holds the cells whose start lies in [c, c + 1) columns.
  for (size_t i = 0; i < valori.size();) {
    const auto colonna = std::floor(static_cast<double>(i) / celle_per_colonna);
    size_t fine = i;
    while (fine < valori.size() && std::floor(static_cast<double>(fine) / celle_per_colonna) == colonna) ++fine;
    size_t minimo = i, massimo = i;
    for (size_t k = i; k < fine; ++k) {
      if (valori[k] < valori[minimo]) minimo = k;
      if (valori[k] > valori[massimo]) massimo = k;
    }
    const double x0 = static_cast<double>(i), x1 = static_cast<double>(fine), mezzo = (x0 + x1) / 2;
    // Level with the first value to the middle of the column, the extremes
    // there in the order they occur, then level with the last value.
    aggiungi(contorno, {x0, valori[i]});
    aggiungi(contorno, {mezzo, valori[i]});
    for (size_t k : {std::min(minimo, massimo), std::max(minimo, massimo)}) aggiungi(contorno, {mezzo, valori[k]});
    aggiungi(contorno, {mezzo, valori[fine - 1]});
    aggiungi(contorno, {x1, valori[fine - 1]});
    i = fine;
  }
  return contorno;
}
