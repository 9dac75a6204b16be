// The profile panels: per-cell layers as step outlines, features at their
// route metre, station names in the first free row above, and the route axis.
#include "disegno/profilo.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "disegno/svg.h"
#include "disegno/tela.h"
#include "model/dimensioni.h"

namespace {

using namespace tela;

class profilo {
 public:
  explicit profilo(const scena& s) : s_(s) {}

  std::string disegna(double& y) {
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

 private:
  double x_metro(double m) const { return sinistra + m / s_.fine * ampiezza; }
  bool nel_tratto(int64_t m) const { return m >= 0 && m <= s_.fine; }

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

  std::string rombo_profilo(punto q, const scena::segno& s) const {
    const double r = 4.5;
    return "<polygon class=\"indicatore\" points=\"" + numero_svg(q.x) + "," + numero_svg(q.y - r) + " " +
           numero_svg(q.x + r) + "," + numero_svg(q.y) + " " + numero_svg(q.x) + "," + numero_svg(q.y + r) + " " +
           numero_svg(q.x - r) + "," + numero_svg(q.y) + "\">" + suggerimento(s) + "</polygon>\n";
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

  std::string titolo_avviso(const std::string& dettaglio) const { return tela::titolo_avviso(s_, dettaglio); }
  std::string alone(punto q, double r, const std::string& dettaglio) const {
    return tela::alone(s_, q, r, dettaglio);
  }

  const scena& s_;
};

}  // namespace

std::string disegna_profilo(const scena& s, double& y) { return profilo(s).disegna(y); }
