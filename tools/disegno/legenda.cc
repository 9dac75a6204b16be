// The legend: samples drawn with the drawing's own classes, in rows that wrap
// at the frame's right edge.
#include "disegno/legenda.h"

#include <string_view>
#include <vector>

#include "disegno/svg.h"
#include "disegno/tela.h"

std::string disegna_legenda(const scena& s, bool con_mappa, double& y) {
  using namespace tela;
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
  if (oltre_la_fine(s) > 0)
    tutte.push_back({"<circle class=\"oltre-fine\" r=\"7\"/><circle class=\"segnale\" r=\"3.6\"/>",
                     "oltre la fine del percorso"});
  double x = sinistra, riga = y + 14;
  for (const auto& v : tutte) {
    // The track and the station mark are the map's alone.
    if (!con_mappa && (v.testo == std::string_view("linea") || v.testo == std::string_view("stazione (fermata)")))
      continue;
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
  if (!s.riferimenti.empty()) nota += "; progressiva crescente con il percorso dai riferimenti";
  o += "<text class=\"nota\" x=\"" + numero_svg(sinistra) + "\" y=\"" + numero_svg(riga + 2) + "\">" +
       escape_xml(nota) + "</text>\n";
  o += "</g>\n";
  y = riga + 6;
  return o;
}
