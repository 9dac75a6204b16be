#include "sources/testi_incorporati.h"

// The line source, 23 lines (532 bytes on disk).
const std::vector<std::string_view>& testo_linea() {
  static const std::vector<std::string_view> righe = {
      "[generale]",
      "lunghezza percorso,    4000",
      "progressiva chilometrica uno,    0,    87750,    1",
      "progressiva chilometrica due,    0,    0,    0",
      "progressiva chilometrica tre,    0,    0,    0",
      "sfondo uno,    0",
      "sfondo due,    1",
      "sfondo tre,    0",
      "ripetizione segnali 4 codici,    0    ,0",
      "[curve]",
      "curvas4,  300,  150",
      "curvad3,  500,  300",
      "curvas4,  1200,  150",
      "[pendenze]",
      "pendenza,   0,    0",
      "pendenza,  600,   4",
      "pendenza,  800,   8",
      "pendenza,  1300,   0",
      "[montagne]",
      "montagna,   1050,  1400,  12",
      "[cartelli]",
      "[indicazioni]",
      "[fine]",
  };
  return righe;
}

// The train source, 19 lines (601 bytes on disk). Line 5 ends in a blank.
const std::vector<std::string_view>& testo_treno() {
  static const std::vector<std::string_view> righe = {
      "[generale]",
      "numero vetture,    4",
      "percentuale massa frenata,    100",
      "sabbia,    0",
      "orologio,    13              27            42 ",
      "[aderenze]",
      "aderenza,   0,    100",
      "[vel_limite]",
      "velocita,   0,    30",
      "velocita,      50,    80",
      "[stazioni]",
      "stazione,       0, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  13,28, 0, BORVALE P.F.",
      "stazione,    1550, 12,  300,  0, 0, 0,  1,1,0,  2,1,1,    0,  13,31, 0, BORVALE P.R.",
      "stazione,    4000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   12, 0, 0, Ultima stazione",
      "[rallentamenti]",
      "[segnali]",
      "segnale,     900,   2, 3, 1,  0, 0,    0,  0,0,0, 230",
      "[codici]",
      "[fine]",
  };
  return righe;
}

// The author's notes: six lines of prose, an empty line, two contact lines.
const std::vector<std::string_view>& testo_note() {
  static const std::vector<std::string_view> righe = {
      "Lo scenario riproduce il tratto di linea tra Borvale Porta Fiorentina e Borvale Porta Romana.",
      "Il treno 31758 \xE8"
      " un regionale leggero: quattro vetture, massa frenata al 100% e partenza alle 13.28.",
      "Poco dopo la partenza si incontra il segnale a 900 metri, con la prima curva a sinistra gi\xE0"
      " in vista.",
      "Il tratto in salita oltre il primo chilometro richiede attenzione: la velocit\xE0"
      " massima \xE8"
      " di 80 km/h.",
      "La fermata di Borvale Porta Romana \xE8"
      " prevista alle 13.31; la sosta \xE8"
      " breve e l'orario va rispettato.",
      "Buon viaggio a chi guider\xE0"
      " questo treno: ogni segnalazione sullo scenario \xE8"
      " benvenuta.",
      "",
      "autore.scenari@example.org",
      "segnalazioni@example.org",
  };
  return righe;
}

// The blank slow-order form, 46 lines (3283 bytes on disk).
const std::vector<std::string_view>& testo_rallentamenti() {
  static const std::vector<std::string_view> righe = {
      "",
      "                               Modulo M. 3",
      "                           ORDINE DI RALLENTAMENTO",
      " ________________________________________________________________________________",
      "  Linea  xxxxxx xxxxxxx",
      "",
      "  Si ordina al macchinista del treno xxxxx di effettuare i seguenti rallentamenti",
      "  _______________________________________________________________________________",
      " |   |                            |Inizio dopo |          |         |            |",
      " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
      " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
      " |___|____________________________|____________|__________|_________|____________|",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |___|____________________________|____________|__________|_________|____________|",
      "",
      "              Prescrizioni specifiche",
      " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
      " B - Interessa anche la stazione di.......",
      " D - Rallentamneto N. ... e N. ...  sono contigui",
      " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
      "     i giorni esclusi i seguenti:.........",
  };
  return righe;
}

// The timetable sheet, 43 lines (3320 bytes on disk).
const std::vector<std::string_view>& testo_scheda() {
  static const std::vector<std::string_view> righe = {
      "",
      "",
      "  ___________________                                               ______________",
      " |                   |                    SCHEDA                   |              |",
      " |   TRENO n.31758   |                   da: Borvale P.F.          |    V140 B    |",
      " |___________________|                    a: Borvale P.R.          |     100%     |",
      "                                                                   |______________|",
      "  ___________________                ___________________            ______________",
      " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |          |              |",
      " |      INVIO        |              |      300T         |          | Ale 801/940  |",
      " |___________________|              |___________________|          |______________|",
      "",
      "  ________________________________________________________________________________",
      " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
      " | Lim.|Marc.|          |  Rs |                            |                |     |",
      " |_____|_____|__________|_____|____________________________|________________|_____|",
      " |  80 |  80 |  87.750  |     |BORVALE PORTA FIORENTINA    | 13.28          |     |",
      " |     |     |  86.150  |     |BORVALE PORTA ROMANA        |          13.31 |   1 |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |_____|_____|__________|_____|____________________________|________________|_____|",
      "",
  };
  return righe;
}
