// The map panel: the track's plane points simplified to what the frame can
// show, the features placed on them, and labels where they find room.
#include "disegno/mappa.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "disegno/svg.h"
#include "disegno/tela.h"

namespace {

using namespace tela;

class mappa {
 public:
  mappa(const scena& s, const punti_piani& t) : s_(s), t_(&t) {}

  std::string disegna(double& y) {
    std::string o = "<g id=\"mappa\">\n";
    const int64_t ultimo = std::min<int64_t>(s_.fine, ultimo_metro());
    const auto binario = pezzi(0, ultimo);
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    bool primo = true;
    for (const auto& pezzo : binario)
      for (const punto& p : pezzo) {
        if (primo) {
          xmin = xmax = p.x;
          ymin = ymax = p.y;
          primo = false;
        }
        xmin = std::min(xmin, p.x);
        xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y);
        ymax = std::max(ymax, p.y);
      }
    const double dx = std::max(xmax - xmin, 1.0), dy = std::max(ymax - ymin, 1.0);
    constexpr double margine = 34, altezza_massima = 520, altezza_minima = 260;
    scala_ = std::min((ampiezza - 2 * margine) / dx, (altezza_massima - 2 * margine) / dy);
    const double altezza = std::clamp(dy * scala_ + 2 * margine, altezza_minima, altezza_massima);
    const double y0 = y + 8;
    ox_ = sinistra + ampiezza / 2 - (xmin + xmax) / 2 * scala_;
    oy_ = y0 + altezza / 2 + (ymin + ymax) / 2 * scala_;
    tolleranza_ = 0.3 / scala_;
    const rettangolo cornice{sinistra, y0, destra, y0 + altezza};

    o += "<rect class=\"mappa\" x=\"" + numero_svg(cornice.x0) + "\" y=\"" + numero_svg(cornice.y0) + "\" width=\"" +
         numero_svg(ampiezza) + "\" height=\"" + numero_svg(altezza) + "\" rx=\"4\"/>\n";
    o += "<text class=\"nome-pannello\" x=\"" + numero_svg(sinistra + 10) + "\" y=\"" + numero_svg(y0 + 18) +
         "\">mappa</text>\n";
    piazzatore etichette;
    etichette.riserva({sinistra, y0, sinistra + 60, y0 + 26});

    // Stations' areas and slowdowns under the track.
    for (const auto& a : s_.aree_stazione) {
      std::string d = percorso_schermo(std::max(a.da, 0), std::min<int64_t>(a.a, ultimo));
      if (d.empty()) continue;
      o += a.oltre_fine ? "<path class=\"area-mappa-oltre-fine\" " + dati_avviso + " d=\"" + d + "\">" +
                              titolo_avviso("area di " + a.dettaglio) + "</path>\n"
                        : "<path class=\"area-mappa\" d=\"" + d + "\"/>\n";
    }
    for (const auto& r : s_.rallentamenti) {
      std::string d = percorso_schermo(std::max(r.da, 0), std::min<int64_t>(r.a, ultimo));
      if (d.empty()) continue;
      o += "<path class=\"rallentamento-mappa\" data-segno=\"rallentamento\" d=\"" + d + "\"><title>" +
           escape_xml(r.dettaglio) + "</title></path>\n";
      if (auto p = punto_piano(r.da); p && r.oltre_fine) o += alone(schermo(*p), 9, r.dettaglio);
    }
    o += "<path class=\"binario\" d=\"" + dati_pezzi(binario) + "\"/>\n";

    // Start and end of the route.
    for (auto [m, testo] : {std::pair<int64_t, const char*>{0, "inizio"}, {s_.lunghezza, "fine percorso"}}) {
      auto p = punto_piano(m);
      if (!p || (m > 0 && m > ultimo)) continue;
      punto q = schermo(*p);
      o += "<circle class=\"estremo\" cx=\"" + numero_svg(q.x) + "\" cy=\"" + numero_svg(q.y) + "\" r=\"3\"/>\n";
      o += etichetta(etichette, cornice, q, testo, "nota", 10.5, false, 6, false);
    }

    scala_e_nord(o, etichette, cornice);

    // Marks, the smaller first so that stations stay on top.
    auto segni = [&](const std::vector<scena::segno>& elenco, const char* genere, auto forma) {
      for (const auto& s : elenco) {
        auto p = punto_piano(s.metro);
        if (!p || s.metro > ultimo) continue;
        punto q = schermo(*p);
        if (s.oltre_fine) o += alone(q, 9, s.dettaglio);
        o += forma(q, s, genere);
      }
    };
    segni(s_.avvisi, "avviso", [&](punto q, const scena::segno& s, const char* g) { return triangolo(q, 4.5, s, g); });
    segni(s_.segnali, "segnale", [&](punto q, const scena::segno& s, const char* g) { return cerchio(q, 3.8, s, g); });
    segni(s_.indicatori, "indicatore",
          [&](punto q, const scena::segno& s, const char* g) { return rombo(q, 5, s, g); });
    segni(s_.cartelli, "cartello", [&](punto q, const scena::segno& s, const char* g) { return quadrato(q, 4, s, g); });
    segni(s_.stazioni, "stazione", [&](punto q, const scena::segno& s, const char* g) {
      return cerchio(q, 5.5, s, g, s.senza_fermata ? "stazione-senza" : "stazione");
    });

    // Labels: station names first, then signs, then indicator speeds.
    for (const auto& s : s_.stazioni) {
      auto p = punto_piano(s.metro);
      if (p && s.metro <= ultimo)
        o += etichetta(etichette, cornice, schermo(*p), s.testo, "nome-stazione", 12, true, 9);
    }
    // Sign texts and indicator speeds only while they are few enough to
    // read; the profile and the tooltips carry them all.
    if (s_.cartelli.size() <= etichette_massime)
      for (const auto& s : s_.cartelli) {
        auto p = punto_piano(s.metro);
        if (p && s.metro <= ultimo && !s.testo.empty())
          o += etichetta(etichette, cornice, schermo(*p), s.testo, "nome-cartello", 10.5, false, 7);
      }
    if (s_.indicatori.size() <= etichette_massime)
      for (const auto& s : s_.indicatori) {
        auto p = punto_piano(s.metro);
        if (p && s.metro <= ultimo && !s.testo.empty())
          o += etichetta(etichette, cornice, schermo(*p), s.testo, "velocita-indicatore", 10, false, 7);
      }
    o += "</g>\n";
    y = cornice.y1 + 22;
    return o;
  }


 private:
  int64_t ultimo_metro() const { return static_cast<int64_t>(t_->size()) - 1; }

  // The plane point of route metre m, when the line has a usable one.
  std::optional<punto> punto_piano(int64_t m) const {
    if (m < 0 || m > ultimo_metro()) return std::nullopt;
    const punto& p = (*t_)[static_cast<size_t>(m)];
    if (!presente(p)) return std::nullopt;
    return p;
  }

  // Runs of usable points over metres [da, a], cut where a point is missing:
  // views of the line's points.
  std::vector<std::span<const punto>> pezzi(int64_t da, int64_t a) const {
    std::vector<std::span<const punto>> risultato;
    const int64_t fine = std::min(a, ultimo_metro()) + 1;
    auto c = [this](int64_t m) { return presente((*t_)[static_cast<size_t>(m)]); };
    for (int64_t m = std::max<int64_t>(da, 0); m < fine;) {
      if (!c(m)) {
        ++m;
        continue;
      }
      int64_t n = m;
      while (n < fine && c(n)) ++n;
      risultato.emplace_back(t_->data() + m, static_cast<size_t>(n - m));
      m = n;
    }
    return risultato;
  }

  punto schermo(const punto& p) const { return {ox_ + p.x * scala_, oy_ - p.y * scala_}; }

  // Runs of plane points as simplified path data in screen space.
  std::string dati_pezzi(const std::vector<std::span<const punto>>& elenco) const {
    std::string d;
    for (const auto& pezzo : elenco) {
      std::vector<punto> s = semplifica_linea(pezzo, tolleranza_);
      for (punto& p : s) p = schermo(p);
      if (s.size() == 1) s.push_back({s[0].x + 0.1, s[0].y});  // a dot still shows
      d += dati_percorso(s);
    }
    return d;
  }
  std::string percorso_schermo(int64_t da, int64_t a) const { return dati_pezzi(pezzi(da, a)); }

  // A label beside point q: right, left, above or below, the first place
  // that is free and inside the frame; none when no place is.
  std::string etichetta(piazzatore& etichette, const rettangolo& cornice, punto q, const std::string& testo,
                        const char* classe, double corpo, bool grassetto, double scarto, bool ovunque = true) {
    const double l = larghezza_testo(testo, corpo, grassetto), h = corpo * 1.15;
    struct posto {
      double x, y;
      const char* ancora;
    };
    std::vector<posto> posti = {{q.x + scarto, q.y + corpo * 0.35, "start"}, {q.x - scarto, q.y + corpo * 0.35, "end"}};
    if (ovunque) {
      posti.push_back({q.x, q.y - scarto, "middle"});
      posti.push_back({q.x, q.y + scarto + corpo * 0.8, "middle"});
    }
    for (const posto& p : posti) {
      const std::string_view a = p.ancora;
      const double x0 = a == "start" ? p.x : a == "end" ? p.x - l : p.x - l / 2;
      const rettangolo r{x0 - 1, p.y - corpo * 0.85, x0 + l + 1, p.y - corpo * 0.85 + h};
      if (r.x0 < cornice.x0 + 2 || r.x1 > cornice.x1 - 2 || r.y0 < cornice.y0 + 2 || r.y1 > cornice.y1 - 2) continue;
      if (!etichette.prova(r)) continue;
      return "<text class=\"etichetta " + std::string(classe) + "\" x=\"" + numero_svg(p.x) + "\" y=\"" +
             numero_svg(p.y) + "\" text-anchor=\"" + p.ancora + "\">" + escape_xml(testo) + "</text>\n";
    }
    return {};
  }

  std::string titolo_avviso(const std::string& dettaglio) const { return tela::titolo_avviso(s_, dettaglio); }
  std::string alone(punto q, double r, const std::string& dettaglio) const {
    return tela::alone(s_, q, r, dettaglio);
  }

  // A scale bar of a round length near a fifth of the frame, and a north arrow.
  void scala_e_nord(std::string& o, piazzatore& etichette, const rettangolo& cornice) {
    const double lunghezza = passo_tondo(ampiezza / 6 / scala_);
    const double px = lunghezza * scala_;
    const double x0 = cornice.x0 + 14, y0 = cornice.y1 - 16;
    for (int i = 0; i < 4; ++i)
      o += "<rect class=\"" + std::string(i % 2 == 0 ? "scala" : "scala-vuota") + "\" x=\"" +
           numero_svg(x0 + px * i / 4) + "\" y=\"" + numero_svg(y0) + "\" width=\"" + numero_svg(px / 4) +
           "\" height=\"5\"/>\n";
    const std::string testo =
        lunghezza >= 1000 ? numero_svg(lunghezza / 1000, 3) + " km" : numero_svg(lunghezza) + " m";
    o += "<text class=\"nota\" x=\"" + numero_svg(x0) + "\" y=\"" + numero_svg(y0 - 5) + "\">0</text>\n";
    o += "<text class=\"nota\" x=\"" + numero_svg(x0 + px) + "\" y=\"" + numero_svg(y0 - 5) +
         "\" text-anchor=\"middle\">" + escape_xml(testo) + "</text>\n";
    etichette.riserva({x0 - 4, y0 - 18, x0 + px + 30, y0 + 8});

    const double nx = cornice.x1 - 22, ny = cornice.y0 + 14;
    o += "<polygon class=\"nord\" points=\"" + numero_svg(nx) + "," + numero_svg(ny + 4) + " " + numero_svg(nx + 6) +
         "," + numero_svg(ny + 22) + " " + numero_svg(nx) + "," + numero_svg(ny + 18) + " " + numero_svg(nx - 6) + "," +
         numero_svg(ny + 22) + "\"/>\n";
    o += "<text class=\"nota\" x=\"" + numero_svg(nx) + "\" y=\"" + numero_svg(ny + 1) +
         "\" text-anchor=\"middle\" font-weight=\"bold\">N</text>\n";
    etichette.riserva({nx - 10, ny - 10, nx + 10, ny + 24});
  }

  const scena& s_;
  const punti_piani* t_;
  double scala_ = 1, ox_ = 0, oy_ = 0, tolleranza_ = 1;
};

}  // namespace

std::string disegna_mappa(const scena& s, const punti_piani& piani, double& y) { return mappa(s, piani).disegna(y); }
