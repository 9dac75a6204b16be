// Laying the scene out as SVG: the map panel, the profile panels on one axis
// of route metres, the legend.
#include "disegno/disegno.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <span>

#include "disegno/semplifica.h"
#include "disegno/svg.h"
#include "model/dimensioni.h"

namespace {

constexpr double larghezza = 1100;
constexpr double sinistra = 76;  // room for the tick labels of the profile
constexpr double ampiezza = 1000;
constexpr double destra = sinistra + ampiezza;
// More marks of one kind than this and their labels would bury the picture.
constexpr size_t etichette_massime = 30;

const char* const stile = R"(
  text { fill: #263238; }
  .titolo { font-size: 21px; font-weight: bold; }
  .sottotitolo { font-size: 12.5px; fill: #607d8b; }
  .pannello { fill: #ffffff; stroke: #cfd8dc; }
  .mappa { fill: #f5f8f9; stroke: #cfd8dc; }
  .nome-pannello { font-size: 11.5px; font-weight: bold; fill: #546e7a; }
  .griglia { stroke: #eceff1; }
  .zero { stroke: #b0bec5; }
  .tacca { font-size: 10.5px; fill: #607d8b; }
  .tacca-progressiva { font-size: 10px; fill: #8d6e63; }
  .binario { fill: none; stroke: #37474f; stroke-width: 2.2; stroke-linejoin: round; stroke-linecap: round; }
  .area-mappa { fill: none; stroke: #90caf9; stroke-width: 9; stroke-linecap: butt; stroke-opacity: 0.8; }
  .rallentamento-mappa { fill: none; stroke: #ffa726; stroke-width: 7; stroke-linecap: butt; stroke-opacity: 0.85; }
  .stazione { fill: #ffffff; stroke: #1565c0; stroke-width: 2.4; }
  .stazione-senza { fill: #ffffff; stroke: #1565c0; stroke-width: 1.6; stroke-dasharray: 2 1.5; }
  .segnale { fill: #d32f2f; stroke: #ffffff; stroke-width: 1.2; }
  .cartello { fill: #fbc02d; stroke: #5d4037; stroke-width: 1; }
  .indicatore { fill: #ffffff; stroke: #6a1b9a; stroke-width: 1.6; }
  .avviso { fill: #ef6c00; stroke: #ffffff; stroke-width: 0.8; }
  .estremo { fill: #37474f; }
  .etichetta { paint-order: stroke; stroke: #ffffff; stroke-width: 3px; stroke-linejoin: round; }
  .nome-stazione { font-size: 12px; font-weight: bold; fill: #0d47a1; }
  .nome-cartello { font-size: 10.5px; font-style: italic; fill: #5d4037; }
  .velocita-indicatore { font-size: 10px; fill: #6a1b9a; }
  .velocita-rallentamento { font-size: 10px; font-weight: bold; fill: #e65100; }
  .nota { font-size: 10.5px; fill: #607d8b; }
  .pendenza-area { fill: #8d6e63; fill-opacity: 0.28; stroke: none; }
  .pendenza { fill: none; stroke: #5d4037; stroke-width: 1.4; stroke-linejoin: round; }
  .velocita { fill: none; stroke: #1565c0; stroke-width: 1.8; stroke-linejoin: round; }
  .aderenza { fill: none; stroke: #2e7d32; stroke-width: 1.6; stroke-linejoin: round; }
  .tinta-montagna { fill: #a1887f; fill-opacity: 0.13; }
  .rallentamento { fill: #ffb74d; fill-opacity: 0.55; stroke: #ef6c00; stroke-width: 1; }
  .area-stazione { fill: #bbdefb; fill-opacity: 0.35; }
  .guida-stazione { stroke: #1e88e5; stroke-width: 1; stroke-dasharray: 4 3; stroke-opacity: 0.75; }
  .guida-fine { stroke: #78909c; stroke-width: 1; stroke-dasharray: 2 3; }
  .riferimento { fill: #8d6e63; }
  .scala { fill: #37474f; }
  .scala-vuota { fill: #ffffff; stroke: #37474f; stroke-width: 1; }
  .nord { fill: #37474f; }
)";

// Features past the route's end, in the warning colour: only in a drawing
// that has them, so that one without keeps every byte it had.
const char* const stile_oltre_fine = R"(
  .oltre-fine { fill: none; stroke: #e6007e; stroke-width: 2; }
  .area-oltre-fine { fill: #e6007e; fill-opacity: 0.16; }
  .area-mappa-oltre-fine { fill: none; stroke: #e6007e; stroke-width: 9; stroke-linecap: butt; stroke-opacity: 0.45; }
  .guida-oltre-fine { stroke: #e6007e; stroke-width: 1.6; stroke-dasharray: 4 3; }
  .rallentamento-oltre-fine { stroke: #e6007e; stroke-width: 2; }
  .avviso-oltre-fine { fill: #e6007e; font-weight: bold; }
)";

// A step of 1, 2 or 5 times a power of ten, near `grezzo`.
double passo_tondo(double grezzo) {
  if (!(grezzo > 0) || !std::isfinite(grezzo)) return 1;
  const double potenza = std::pow(10.0, std::floor(std::log10(grezzo)));
  for (double f : {1.0, 2.0, 5.0})
    if (f * potenza >= grezzo) return f * potenza;
  return 10 * potenza;
}

// A route metre as km for the axis, with the decimal comma.
std::string chilometri(double m) {
  std::string s = numero_svg(m / 1000.0, 3);
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

std::string plurale(size_t n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

// A polyline as path data.
std::string dati_percorso(const std::vector<punto>& p) {
  std::string d;
  for (size_t i = 0; i < p.size(); ++i) {
    d += i == 0 ? 'M' : 'L';
    d += numero_svg(p[i].x) + ' ' + numero_svg(p[i].y);
  }
  return d;
}

class disegnatore {
 public:
  disegnatore(const scena& s, const punti_piani* t) : s_(s), t_(t), oltre_fine_(oltre_la_fine(s)) {}

  std::string svg() {
    std::string corpo;
    double y = 0;
    corpo += titolo(y);
    if (t_) corpo += mappa(y);
    corpo += profilo(y);
    corpo += legenda(y);
    const double altezza = std::ceil(y + 16);

    std::string testa = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    testa += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + numero_svg(larghezza) + "\" height=\"" +
             numero_svg(altezza) + "\" viewBox=\"0 0 " + numero_svg(larghezza) + " " + numero_svg(altezza) +
             "\" font-family=\"DejaVu Sans, Verdana, Arial, Helvetica, sans-serif\">\n";
    testa += "<title>" + escape_xml(s_.nome_scenario + " - treno " + s_.numero_treno) + "</title>\n";
    testa += "<style>" + std::string(stile) + (oltre_fine_ > 0 ? stile_oltre_fine : "") + "</style>\n";
    testa += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    return testa + corpo + "</svg>\n";
  }

 private:
  double x_metro(double m) const { return sinistra + m / s_.fine * ampiezza; }
  bool nel_tratto(int64_t m) const { return m >= 0 && m <= s_.fine; }

  // --- title --------------------------------------------------------------------
  std::string titolo(double& y) {
    std::string o;
    o += "<text class=\"titolo\" x=\"" + numero_svg(sinistra) + "\" y=\"34\">" + escape_xml(s_.nome_scenario) +
         "  ·  treno " + escape_xml(s_.numero_treno) + "</text>\n";
    std::string r = "percorso " + metri(s_.lunghezza) + "  ·  " + plurale(s_.stazioni.size(), "stazione", "stazioni") +
                    "  ·  " + plurale(s_.segnali.size(), "segnale", "segnali") + "  ·  " +
                    plurale(s_.cartelli.size(), "cartello", "cartelli") + "  ·  " +
                    plurale(s_.indicatori.size(), "indicatore di velocità", "indicatori di velocità") + "  ·  " +
                    plurale(s_.rallentamenti.size(), "rallentamento", "rallentamenti") + "  ·  " +
                    plurale(s_.montagne.size(), "sezione di montagna", "sezioni di montagna");
    // The warnings the files show: what lies past the route's end.
    std::string avvisi;
    if (oltre_fine_ > 0)
      avvisi = "<tspan class=\"avviso-oltre-fine\" data-avvisi=\"" + std::to_string(oltre_fine_) + "\">" +
               escape_xml("  ·  " + plurale(oltre_fine_, "elemento oltre la fine del percorso",
                                           "elementi oltre la fine del percorso")) +
               "</tspan>";
    if (!t_) r += "  ·  senza file della linea: solo il profilo";
    o += "<text class=\"sottotitolo\" x=\"" + numero_svg(sinistra) + "\" y=\"56\">" + escape_xml(r) + avvisi +
         "</text>\n";
    y = 72;
    return o;
  }

  // --- map ----------------------------------------------------------------------

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

  std::string mappa(double& y) {
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

  static std::string suggerimento(const scena::segno& s) { return "<title>" + escape_xml(s.dettaglio) + "</title>"; }

  // What marks a feature past the route's end: the attribute a test or a
  // script finds it by, its tooltip, and a ring in the warning colour.
  static inline const std::string dati_avviso = "data-avviso=\"oltre_fine_percorso\"";
  std::string titolo_avviso(const std::string& dettaglio) const {
    return "<title>" + escape_xml(dettaglio + ": oltre la fine del percorso, " + metri(s_.lunghezza)) + "</title>";
  }
  std::string alone(punto q, double r, const std::string& dettaglio) const {
    return "<circle class=\"oltre-fine\" " + dati_avviso + " cx=\"" + numero_svg(q.x) + "\" cy=\"" + numero_svg(q.y) +
           "\" r=\"" + numero_svg(r) + "\">" + titolo_avviso(dettaglio) + "</circle>\n";
  }
  static std::string cerchio(punto q, double r, const scena::segno& s, const char* genere,
                             const char* classe = nullptr) {
    return "<circle class=\"" + std::string(classe ? classe : genere) + "\" data-segno=\"" + genere + "\" cx=\"" +
           numero_svg(q.x) + "\" cy=\"" + numero_svg(q.y) + "\" r=\"" + numero_svg(r) + "\">" + suggerimento(s) +
           "</circle>\n";
  }
  static std::string quadrato(punto q, double r, const scena::segno& s, const char* genere) {
    return "<rect class=\"" + std::string(genere) + "\" data-segno=\"" + genere + "\" x=\"" + numero_svg(q.x - r) +
           "\" y=\"" + numero_svg(q.y - r) + "\" width=\"" + numero_svg(2 * r) + "\" height=\"" + numero_svg(2 * r) +
           "\">" + suggerimento(s) + "</rect>\n";
  }
  static std::string poligono(const std::vector<punto>& v, const scena::segno& s, const char* genere) {
    std::string p;
    for (const punto& q : v) p += numero_svg(q.x) + "," + numero_svg(q.y) + " ";
    p.pop_back();
    return "<polygon class=\"" + std::string(genere) + "\" data-segno=\"" + genere + "\" points=\"" + p + "\">" +
           suggerimento(s) + "</polygon>\n";
  }
  static std::string rombo(punto q, double r, const scena::segno& s, const char* genere) {
    return poligono({{q.x, q.y - r}, {q.x + r, q.y}, {q.x, q.y + r}, {q.x - r, q.y}}, s, genere);
  }
  static std::string triangolo(punto q, double r, const scena::segno& s, const char* genere) {
    return poligono({{q.x, q.y - r}, {q.x + r, q.y + r * 0.8}, {q.x - r, q.y + r * 0.8}}, s, genere);
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

  // --- profile --------------------------------------------------------------------

  struct pannello {
    double y0 = 0, y1 = 0;
    double vmin = 0, vmax = 1;
    double y(double v) const { return y1 - (v - vmin) / (vmax - vmin) * (y1 - y0); }
  };

  // A panel frame with its name, and its value axis when `passo` > 0.
  std::string cornice_pannello(const pannello& p, const char* nome, double passo) const {
    std::string o = "<rect class=\"pannello\" x=\"" + numero_svg(sinistra) + "\" y=\"" + numero_svg(p.y0) +
                    "\" width=\"" + numero_svg(ampiezza) + "\" height=\"" + numero_svg(p.y1 - p.y0) + "\"/>\n";
    if (passo > 0) {
      for (double v = p.vmin; v <= p.vmax + passo / 2; v += passo) {
        const double y = p.y(v);
        o += "<line class=\"" + std::string(std::abs(v) < passo / 2 ? "zero" : "griglia") + "\" x1=\"" +
             numero_svg(sinistra) + "\" x2=\"" + numero_svg(destra) + "\" y1=\"" + numero_svg(y) + "\" y2=\"" +
             numero_svg(y) + "\"/>\n";
        o += "<text class=\"tacca\" x=\"" + numero_svg(sinistra - 6) + "\" y=\"" + numero_svg(y + 3.5) +
             "\" text-anchor=\"end\">" + numero_svg(std::abs(v) < passo / 2 ? 0 : v, 2) + "</text>\n";
      }
    }
    if (*nome)
      o += "<text class=\"nome-pannello etichetta\" x=\"" + numero_svg(sinistra + 8) + "\" y=\"" +
           numero_svg(p.y0 + 15) + "\">" + escape_xml(nome) + "</text>\n";
    return o;
  }

  // A value range that starts and ends on round ticks, about five of them,
  // with room at the top for the panel's name.
  static std::pair<pannello, double> scala_valori(double vmin, double vmax, double y0, double y1) {
    if (vmax - vmin < 1e-9) {
      vmin -= 5;
      vmax += 5;
    }
    vmax += (vmax - vmin) * 0.15;
    const double passo = passo_tondo((vmax - vmin) / 5);
    pannello p;
    p.y0 = y0;
    p.y1 = y1;
    p.vmin = std::floor(vmin / passo + 1e-9) * passo;
    p.vmax = std::ceil(vmax / passo - 1e-9) * passo;
    if (p.vmax <= p.vmin) p.vmax = p.vmin + passo;
    return {p, passo};
  }

  // The step outline of a per-cell layer in screen space.
  std::vector<punto> gradini(const std::vector<double>& valori, const pannello& p) const {
    const double celle_per_pixel = static_cast<double>(metri_per_cella) / s_.fine * ampiezza;
    std::vector<punto> contorno = profilo_a_gradini(valori, 1 / celle_per_pixel);
    for (punto& q : contorno) q = {x_metro(std::min<double>(q.x * metri_per_cella, s_.fine)), p.y(q.y)};
    return contorno;
  }

  std::string rettangolo_metri(double da, double a, double y0, double y1, const char* classe,
                               const std::string& extra = {}) const {
    da = std::clamp<double>(da, 0, s_.fine);
    a = std::clamp<double>(a, 0, s_.fine);
    double x0 = x_metro(da), x1 = std::max(x_metro(a), x0 + 1.5);
    return "<rect class=\"" + std::string(classe) + "\"" + extra + " x=\"" + numero_svg(x0) + "\" y=\"" +
           numero_svg(y0) + "\" width=\"" + numero_svg(x1 - x0) + "\" height=\"" + numero_svg(y1 - y0) + "\"";
  }

  std::string profilo(double& y) {
    std::string o = "<g id=\"profilo\">\n";
    piazzatore etichette;

    // Station names in up to three rows above the panels.
    const double righe_nomi = 3, riga = 15;
    const double y_nomi = y + 4;
    const double cima = y_nomi + righe_nomi * riga + 6;
    constexpr double spazio = 12;
    const double altezza_pendenza = 130, altezza_velocita = 150, altezza_aderenza = 60, altezza_montagna = 24,
                 altezza_segni = 40;

    double gmin = 0, gmax = 0;
    for (double v : s_.pendenza) gmin = std::min(gmin, v), gmax = std::max(gmax, v);
    auto [pendenza, passo_p] = scala_valori(gmin, gmax, cima, cima + altezza_pendenza);
    double vmax = 10;
    for (double v : s_.velocita) vmax = std::max(vmax, v);
    for (const auto& r : s_.rallentamenti) vmax = std::max<double>(vmax, r.valore);
    for (const auto& i : s_.indicatori) vmax = std::max<double>(vmax, i.valore);
    auto [velocita, passo_v] = scala_valori(0, vmax, pendenza.y1 + spazio, pendenza.y1 + spazio + altezza_velocita);
    double amax = 100;
    for (double v : s_.aderenza) amax = std::max(amax, v);
    auto [aderenza, passo_a] = scala_valori(0, amax, velocita.y1 + spazio, velocita.y1 + spazio + altezza_aderenza);
    pannello montagna{aderenza.y1 + spazio, aderenza.y1 + spazio + altezza_montagna, 0, 1};
    pannello segni{montagna.y1 + spazio, montagna.y1 + spazio + altezza_segni, 0, 1};
    const double fondo = segni.y1;

    o += cornice_pannello(pendenza, "pendenza ‰", passo_p);
    o += cornice_pannello(velocita, "velocità km/h", passo_v);
    o += cornice_pannello(aderenza, "aderenza", passo_a);
    o += cornice_pannello(montagna, "", 0);
    o += cornice_pannello(segni, "", 0);
    o += "<text class=\"tacca\" x=\"" + numero_svg(sinistra - 6) + "\" y=\"" + numero_svg(montagna.y1 - 8) +
         "\" text-anchor=\"end\">montagna</text>\n";
    o += "<text class=\"tacca\" x=\"" + numero_svg(sinistra - 6) + "\" y=\"" + numero_svg(segni.y1 - 16) +
         "\" text-anchor=\"end\">segnali</text>\n";
    o += "<text class=\"tacca\" x=\"" + numero_svg(sinistra - 6) + "\" y=\"" + numero_svg(segni.y1 - 5) +
         "\" text-anchor=\"end\">e cartelli</text>\n";

    // Station areas behind everything, across all panels.
    for (const auto& a : s_.aree_stazione)
      if (a.a > 0 && a.da < s_.fine) {
        if (a.oltre_fine)
          o += rettangolo_metri(a.da, a.a, cima, fondo, "area-oltre-fine", " " + dati_avviso) + ">" +
               titolo_avviso("area di " + a.dettaglio) + "</rect>\n";
        else
          o += rettangolo_metri(a.da, a.a, cima, fondo, "area-stazione") + "/>\n";
      }

    // Mountain sections: a tint in the gradient panel, blocks in their strip.
    for (const auto& m : s_.montagne) {
      o += rettangolo_metri(m.da, m.a, pendenza.y0, pendenza.y1, "tinta-montagna") + "/>\n";
      o += rettangolo_metri(m.da, m.a, montagna.y0 + 3, montagna.y1 - 3, "montagna",
                            " fill=\"" + colore_montagna(m.valore) + "\"") +
           "><title>" + escape_xml(m.dettaglio) + "</title></rect>\n";
      const double x0 = x_metro(m.da), x1 = x_metro(m.a);
      const std::string t = std::to_string(m.valore);
      if (x1 - x0 > larghezza_testo(t, 10) + 4)
        o += "<text class=\"tacca\" x=\"" + numero_svg((x0 + x1) / 2) + "\" y=\"" + numero_svg(montagna.y1 - 8) +
             "\" text-anchor=\"middle\" fill=\"#ffffff\" style=\"fill:#ffffff\">" + t + "</text>\n";
    }

    // Gradient: filled to zero, then the outline.
    {
      std::vector<punto> g = gradini(s_.pendenza, pendenza);
      if (!g.empty()) {
        std::vector<punto> area = g;
        area.push_back({g.back().x, pendenza.y(0)});
        area.push_back({g.front().x, pendenza.y(0)});
        o += "<path class=\"pendenza-area\" d=\"" + dati_percorso(area) + "Z\"/>\n";
        o += "<path class=\"pendenza\" d=\"" + dati_percorso(g) + "\"/>\n";
      }
    }

    // Speed: slowdowns as bars up to their speed, then the line speed.
    for (const auto& r : s_.rallentamenti) {
      if (r.oltre_fine)
        o += rettangolo_metri(r.da, r.a, velocita.y(r.valore), velocita.y1, "rallentamento rallentamento-oltre-fine",
                              " " + dati_avviso) +
             ">" + titolo_avviso(r.dettaglio) + "</rect>\n";
      else
        o += rettangolo_metri(r.da, r.a, velocita.y(r.valore), velocita.y1, "rallentamento") + "><title>" +
             escape_xml(r.dettaglio) + "</title></rect>\n";
    }
    {
      std::vector<punto> v = gradini(s_.velocita, velocita);
      if (!v.empty()) o += "<path class=\"velocita\" d=\"" + dati_percorso(v) + "\"/>\n";
    }
    {
      piazzatore etichette_velocita;
      for (const auto& r : s_.rallentamenti) {
        const double x = x_metro((std::clamp<double>(r.da, 0, s_.fine) + std::clamp<double>(r.a, 0, s_.fine)) / 2);
        const std::string t = std::to_string(r.valore);
        const double l = larghezza_testo(t, 10, true), yt = velocita.y(r.valore) - 3;
        if (yt - 10 < velocita.y0) continue;
        // Some room around each, so that a long run of slowdowns is not a wall of numbers.
        if (!etichette_velocita.prova({x - l / 2 - 8, yt - 10, x + l / 2 + 8, yt + 2})) continue;
        o += "<text class=\"etichetta velocita-rallentamento\" x=\"" + numero_svg(x) + "\" y=\"" + numero_svg(yt) +
             "\" text-anchor=\"middle\">" + t + "</text>\n";
      }
      for (const auto& s : s_.indicatori) {
        if (!nel_tratto(s.metro)) continue;
        const punto q{x_metro(s.metro), velocita.y(s.valore)};
        if (s.oltre_fine) o += alone(q, 8, s.dettaglio);
        o += rombo_profilo(q, s);
        const double l = larghezza_testo(s.testo, 10);
        if (q.y - 16 < velocita.y0 || s_.indicatori.size() > etichette_massime) continue;
        if (etichette_velocita.prova({q.x - l / 2 - 1, q.y - 17, q.x + l / 2 + 1, q.y - 6}))
          o += "<text class=\"etichetta velocita-indicatore\" x=\"" + numero_svg(q.x) + "\" y=\"" +
               numero_svg(q.y - 8) + "\" text-anchor=\"middle\">" + escape_xml(s.testo) + "</text>\n";
      }
    }

    // Adhesion.
    {
      std::vector<punto> a = gradini(s_.aderenza, aderenza);
      if (!a.empty()) o += "<path class=\"aderenza\" d=\"" + dati_percorso(a) + "\"/>\n";
    }

    // Signals, signs and warning points along the route.
    {
      const double ys = segni.y0 + 12;
      for (const auto& s : s_.avvisi)
        if (nel_tratto(s.metro))
          o += "<polygon class=\"avviso\" points=\"" + numero_svg(x_metro(s.metro)) + "," + numero_svg(ys - 4) + " " +
               numero_svg(x_metro(s.metro) + 4) + "," + numero_svg(ys + 3) + " " + numero_svg(x_metro(s.metro) - 4) +
               "," + numero_svg(ys + 3) + "\">" + suggerimento(s) + "</polygon>\n";
      for (const auto& s : s_.segnali) {
        if (!nel_tratto(s.metro)) continue;
        if (s.oltre_fine) o += alone({x_metro(s.metro), ys}, 7, s.dettaglio);
        o += "<circle class=\"segnale\" cx=\"" + numero_svg(x_metro(s.metro)) + "\" cy=\"" + numero_svg(ys) +
             "\" r=\"3.6\">" + suggerimento(s) + "</circle>\n";
      }
      // A sign's text goes beside its mark when it covers no other mark.
      piazzatore etichette_cartelli;
      for (const auto& s : s_.cartelli)
        if (nel_tratto(s.metro))
          etichette_cartelli.riserva({x_metro(s.metro) - 4, ys + 7, x_metro(s.metro) + 4, ys + 16});
      for (const auto& s : s_.cartelli) {
        if (!nel_tratto(s.metro)) continue;
        const double x = x_metro(s.metro);
        if (s.oltre_fine) o += alone({x, ys + 11.5}, 7.5, s.dettaglio);
        o += "<rect class=\"cartello\" x=\"" + numero_svg(x - 3.5) + "\" y=\"" + numero_svg(ys + 8) +
             "\" width=\"7\" height=\"7\">" + suggerimento(s) + "</rect>\n";
        const double l = larghezza_testo(s.testo, 10.5);
        if (x + 6 + l < destra && etichette_cartelli.prova({x + 5, ys + 6, x + 7 + l, ys + 19}))
          o += "<text class=\"etichetta nome-cartello\" x=\"" + numero_svg(x + 6) + "\" y=\"" + numero_svg(ys + 16) +
               "\">" + escape_xml(s.testo) + "</text>\n";
      }
    }

    // The end of the route when features reach past it.
    if (s_.fine > s_.lunghezza && s_.lunghezza > 0) {
      const double x = x_metro(s_.lunghezza);
      o += "<line class=\"guida-fine\" x1=\"" + numero_svg(x) + "\" x2=\"" + numero_svg(x) + "\" y1=\"" +
           numero_svg(cima) + "\" y2=\"" + numero_svg(fondo) + "\"><title>fine del percorso, " + metri(s_.lunghezza) +
           "</title></line>\n";
    }

    // Station guides with their names above, in the first free row.
    for (const auto& s : s_.stazioni) {
      if (!nel_tratto(s.metro)) continue;
      const double x = x_metro(s.metro);
      const double l = larghezza_testo(s.testo, 12, true);
      const double x0 = std::clamp(x - l / 2, sinistra - 40, larghezza - 4 - l);
      double y_guida = cima;
      std::string nome;
      for (int r = static_cast<int>(righe_nomi) - 1; r >= 0; --r) {
        const double yt = y_nomi + riga * (r + 1) - 3;
        if (etichette.prova({x0 - 3, yt - 12, x0 + l + 3, yt + 3})) {
          nome = "<text class=\"etichetta nome-stazione\" x=\"" + numero_svg(x0) + "\" y=\"" + numero_svg(yt) + "\">" +
                 escape_xml(s.testo) + "</text>\n";
          y_guida = yt + 3;
          break;
        }
      }
      const std::string classe = s.oltre_fine ? "guida-oltre-fine\" " + dati_avviso : std::string("guida-stazione\"");
      o += "<line class=\"" + classe + " data-guida=\"stazione\" x1=\"" + numero_svg(x) + "\" x2=\"" + numero_svg(x) +
           "\" y1=\"" + numero_svg(y_guida) + "\" y2=\"" + numero_svg(fondo) + "\">" +
           (s.oltre_fine ? titolo_avviso(s.dettaglio) : suggerimento(s)) + "</line>\n" + nome;
    }

    o += asse(fondo, y);
    o += "</g>\n";
    return o;
  }

  std::string rombo_profilo(punto q, const scena::segno& s) const {
    const double r = 4.5;
    return "<polygon class=\"indicatore\" points=\"" + numero_svg(q.x) + "," + numero_svg(q.y - r) + " " +
           numero_svg(q.x + r) + "," + numero_svg(q.y) + " " + numero_svg(q.x) + "," + numero_svg(q.y + r) + " " +
           numero_svg(q.x - r) + "," + numero_svg(q.y) + "\">" + suggerimento(s) + "</polygon>\n";
  }

  static std::string colore_montagna(int32_t tipo) {
    static const char* const colori[] = {"#8d6e63", "#6d4c41", "#a1887f", "#5d4037", "#795548", "#4e342e"};
    return colori[static_cast<size_t>(std::abs(static_cast<int64_t>(tipo)) % 6)];
  }

  // The route axis: km ticks, and the chainage under each when the files
  // have references.
  std::string asse(double fondo, double& y) {
    std::string o;
    const double passo = passo_tondo(s_.fine / 10.0);
    const bool con_progressiva = !s_.riferimenti.empty();
    piazzatore etichette;
    for (double m = 0; m <= s_.fine + 1e-6; m += passo) {
      const double x = x_metro(m);
      o += "<line class=\"zero\" x1=\"" + numero_svg(x) + "\" x2=\"" + numero_svg(x) + "\" y1=\"" + numero_svg(fondo) +
           "\" y2=\"" + numero_svg(fondo + 5) + "\"/>\n";
      // Centred on the tick, or beside it at the ends of the axis.
      auto piazza = [&](const std::string& testo, double corpo, double y_base, const char* classe) {
        const double l = larghezza_testo(testo, corpo);
        double x0 = x - l / 2;
        const char* ancora = "middle";
        if (x0 < sinistra - 2) x0 = x, ancora = "start";
        if (x0 + l > destra + 2) x0 = x - l, ancora = "end";
        if (!etichette.prova({x0 - 3, y_base - 11, x0 + l + 3, y_base + 1})) return false;
        o += "<text class=\"" + std::string(classe) + "\" x=\"" + numero_svg(x) + "\" y=\"" + numero_svg(y_base) +
             "\" text-anchor=\"" + ancora + "\">" + escape_xml(testo) + "</text>\n";
        return true;
      };
      if (piazza(chilometri(m), 10.5, fondo + 17, "tacca") && con_progressiva)
        piazza(progressiva(s_.riferimenti, static_cast<int64_t>(m)), 10, fondo + 31, "tacca-progressiva");
    }
    o += "<text class=\"tacca\" x=\"" + numero_svg(sinistra - 6) + "\" y=\"" + numero_svg(fondo + 17) +
         "\" text-anchor=\"end\">km</text>\n";
    if (con_progressiva) {
      o += "<text class=\"tacca-progressiva\" x=\"" + numero_svg(sinistra - 6) + "\" y=\"" + numero_svg(fondo + 31) +
           "\" text-anchor=\"end\">pk</text>\n";
      for (const auto& r : s_.riferimenti) {
        if (!nel_tratto(r.metro)) continue;
        const double x = x_metro(r.metro);
        o += "<polygon class=\"riferimento\" points=\"" + numero_svg(x) + "," + numero_svg(fondo) + " " +
             numero_svg(x + 4) + "," + numero_svg(fondo + 6) + " " + numero_svg(x - 4) + "," + numero_svg(fondo + 6) +
             "\"><title>" +
             escape_xml("riferimento: " + metri(r.metro) + " del percorso = progressiva " +
                        progressiva(s_.riferimenti, r.metro)) +
             "</title></polygon>\n";
      }
    }
    y = fondo + (con_progressiva ? 40 : 26);
    return o;
  }

  // --- legend ---------------------------------------------------------------------
  std::string legenda(double& y) {
    std::string o = "<g id=\"legenda\">\n";
    struct voce_legenda {
      std::string simbolo;  // drawn around (0, 0), 26 px wide
      const char* testo;
    };
    const std::vector<voce_legenda> voci = {
        {"<line class=\"binario\" x1=\"-11\" x2=\"11\" y1=\"0\" y2=\"0\"/>", "linea"},
        {"<circle class=\"stazione\" r=\"5.5\"/>", "stazione (fermata)"},
        {"<rect class=\"area-stazione\" x=\"-11\" y=\"-7\" width=\"22\" height=\"14\"/>"
         "<line class=\"guida-stazione\" x1=\"0\" x2=\"0\" y1=\"-7\" y2=\"7\"/>",
         "area di stazione"},
        {"<circle class=\"segnale\" r=\"3.8\"/>", "segnale"},
        {"<rect class=\"cartello\" x=\"-4\" y=\"-4\" width=\"8\" height=\"8\"/>", "cartello"},
        {"<polygon class=\"indicatore\" points=\"0,-5 5,0 0,5 -5,0\"/>", "indicatore di velocità"},
        {"<line class=\"rallentamento-mappa\" x1=\"-11\" x2=\"11\" y1=\"0\" y2=\"0\"/>", "rallentamento"},
        {"<polygon class=\"avviso\" points=\"0,-4.5 4.5,3.6 -4.5,3.6\"/>", "avviso di rallentamento"},
        {"<path class=\"pendenza-area\" d=\"M-11 4L-4 4L-4 -3L11 -3L11 6L-11 6Z\"/>"
         "<path class=\"pendenza\" d=\"M-11 4L-4 4L-4 -3L11 -3\"/>",
         "pendenza"},
        {"<path class=\"velocita\" d=\"M-11 -3L0 -3L0 4L11 4\"/>", "velocità di linea"},
        {"<path class=\"aderenza\" d=\"M-11 -2L11 -2\"/>", "aderenza"},
        {"<rect x=\"-11\" y=\"-6\" width=\"22\" height=\"12\" fill=\"" + colore_montagna(2) + "\"/>",
         "sezione di montagna"},
    };
    std::vector<voce_legenda> tutte = voci;
    if (oltre_fine_ > 0)
      tutte.push_back({"<circle class=\"oltre-fine\" r=\"7\"/><circle class=\"segnale\" r=\"3.6\"/>",
                       "oltre la fine del percorso"});
    double x = sinistra, riga = y + 14;
    for (const auto& v : tutte) {
      // The track and the station mark are the map's alone.
      if (!t_ && (v.testo == std::string_view("linea") || v.testo == std::string_view("stazione (fermata)"))) continue;
      const double l = 30 + larghezza_testo(v.testo, 11);
      if (x + l > destra) {
        x = sinistra;
        riga += 22;
      }
      o += "<g transform=\"translate(" + numero_svg(x + 12) + " " + numero_svg(riga) + ")\">" + v.simbolo + "</g>\n";
      o += "<text class=\"nota\" x=\"" + numero_svg(x + 28) + "\" y=\"" + numero_svg(riga + 4) + "\">" +
           escape_xml(v.testo) + "</text>\n";
      x += l + 14;
    }
    riga += 22;
    std::string nota = "pendenza in millesimi, velocità in km/h; i segni stanno al metro del percorso della loro cella";
    if (!s_.riferimenti.empty()) nota += "; progressiva crescente con il percorso dai riferimenti";
    o += "<text class=\"nota\" x=\"" + numero_svg(sinistra) + "\" y=\"" + numero_svg(riga + 2) + "\">" +
         escape_xml(nota) + "</text>\n";
    o += "</g>\n";
    y = riga + 6;
    return o;
  }

 private:
  const scena& s_;
  const punti_piani* t_;
  const size_t oltre_fine_;  // features flagged past the route's end
  double scala_ = 1, ox_ = 0, oy_ = 0, tolleranza_ = 1;
};

}  // namespace

std::string disegna_svg(const scena& s, const punti_piani* piani) {
  disegnatore d(s, piani && !piani->empty() ? piani : nullptr);
  return d.svg();
}
