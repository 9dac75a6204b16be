// Laying the scene out as SVG: the title, then the map, the profile and the
// legend one under another, with the style they all draw with.
#include "disegno/disegno.h"

#include <cmath>

#include "disegno/legenda.h"
#include "disegno/mappa.h"
#include "disegno/profilo.h"
#include "disegno/svg.h"
#include "disegno/tela.h"

namespace {

using namespace tela;

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

// The title and the line under it: what the scene holds, and the warnings
// the files show (what lies past the route's end).
std::string titolo(const scena& s, bool con_mappa, size_t oltre_fine, double& y) {
  std::string o;
  o += "<text class=\"titolo\" x=\"" + numero_svg(sinistra) + "\" y=\"34\">" + escape_xml(s.nome_scenario) +
       "  ·  treno " + escape_xml(s.numero_treno) + "</text>\n";
  std::string r = "percorso " + metri(s.lunghezza) + "  ·  " + plurale(s.stazioni.size(), "stazione", "stazioni") +
                  "  ·  " + plurale(s.segnali.size(), "segnale", "segnali") + "  ·  " +
                  plurale(s.cartelli.size(), "cartello", "cartelli") + "  ·  " +
                  plurale(s.indicatori.size(), "indicatore di velocità", "indicatori di velocità") + "  ·  " +
                  plurale(s.rallentamenti.size(), "rallentamento", "rallentamenti") + "  ·  " +
                  plurale(s.montagne.size(), "sezione di montagna", "sezioni di montagna");
  std::string avvisi;
  if (oltre_fine > 0)
    avvisi = "<tspan class=\"avviso-oltre-fine\" data-avvisi=\"" + std::to_string(oltre_fine) + "\">" +
             escape_xml("  ·  " + plurale(oltre_fine, "elemento oltre la fine del percorso",
                                         "elementi oltre la fine del percorso")) +
             "</tspan>";
  if (!con_mappa) r += "  ·  senza file della linea: solo il profilo";
  o += "<text class=\"sottotitolo\" x=\"" + numero_svg(sinistra) + "\" y=\"56\">" + escape_xml(r) + avvisi +
       "</text>\n";
  y = 72;
  return o;
}

}  // namespace

std::string disegna_svg(const scena& s, const punti_piani* piani) {
  const bool con_mappa = piani && !piani->empty();
  const size_t oltre_fine = oltre_la_fine(s);
  std::string corpo;
  double y = 0;
  corpo += titolo(s, con_mappa, oltre_fine, y);
  if (con_mappa) corpo += disegna_mappa(s, *piani, y);
  corpo += disegna_profilo(s, y);
  corpo += disegna_legenda(s, con_mappa, y);
  const double altezza = std::ceil(y + 16);

  std::string testa = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  testa += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + numero_svg(larghezza) + "\" height=\"" +
           numero_svg(altezza) + "\" viewBox=\"0 0 " + numero_svg(larghezza) + " " + numero_svg(altezza) +
           "\" font-family=\"DejaVu Sans, Verdana, Arial, Helvetica, sans-serif\">\n";
  testa += "<title>" + escape_xml(s.nome_scenario + " - treno " + s.numero_treno) + "</title>\n";
  testa += "<style>" + std::string(stile) + (oltre_fine > 0 ? stile_oltre_fine : "") + "</style>\n";
  testa += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  return testa + corpo + "</svg>\n";
}
