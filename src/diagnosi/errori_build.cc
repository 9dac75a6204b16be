// The table of build errors in words, one entry per number, and their words
// in a report.
#include "diagnosi/errori_build.h"

#include <algorithm>

namespace {

constexpr descrizione_errore tabella[] = {
    {1, false, "la lunghezza del percorso supera 1000000 m"},
    {2, false, "un riferimento di progressiva ha una posizione o una progressiva non multipla di 50"},
    {3, false, "il primo valore della riga \"ripetizione segnali\" non è multiplo di 50"},
    {4, false, "il secondo valore della riga \"ripetizione segnali\" non è multiplo di 50"},
    {5, false, "la chiave della riga \"ripetizione segnali\" non contiene né \"4\" né \"9\""},
    {6, true, "un cartello cade su una cella che contiene già un altro elemento"},
    {7, true, "un abbattimento cade su una cella che contiene già un altro elemento"},
    {8, true, "la posizione di una stazione non è multipla di 50"},
    {9, true, "la lunghezza di una stazione non è multipla di 100"},
    {10, false, "stazioni e testi dei cartelli non entrano più insieme nelle voci di testata"},
    {11, true,
     "prima della cella di avviso di un rallentamento, le due celle prima di un segnale sono occupate e nessuna è "
     "un abbattimento"},
    {12, true, "prima dell'inizio di un rallentamento, le tre celle del gruppo dove va un abbattimento sono tutte occupate"},
    {13, true, "lungo un rallentamento, la cella dove va un abbattimento e le sue vicine sono tutte occupate"},
    {15, true, "la posizione di un elemento è oltre la fine della griglia del percorso"},
    {16, true, "la cella del segnale contiene già un altro elemento"},
    {17, true,
     "la cella di avviso, 1200 m prima di un rallentamento che inizia oltre 1500 m, contiene già un altro elemento"},
    {18, true, "la cella d'inizio del rallentamento contiene già un altro elemento"},
    {19, true, "la cella di fine del rallentamento contiene già un altro elemento"},
    {20, true, "una delle quattro celle di preavviso prima della cella di avviso contiene già un altro elemento"},
    {21, true, "la cella dell'indicatore di velocità massima contiene già un altro elemento"},
    {22, true, "una stazione inizia meno di 350 m dopo la fine della stazione precedente"},
    {24, false, "una stazione di tipo inferiore a 25 finisce nei primi 100 m della linea"},
    {25, false,
     "lettura dei sorgenti fallita: un campo che non si converte o non entra nel suo tipo, o una riga di elemento "
     "prima della lunghezza del percorso"},
    {101, false, "il sorgente della linea manca"},
    {102, false, "il sorgente della linea finisce prima di una riga con \"[generale]\""},
    {103, false, "una chiave \"curva\" non contiene nessuna cifra da 1 a 6, o le curve superano 1000000 m"},
    {1250, false, "il posto del timbro nelle voci di testata o nella griglia è già usato"},
    {1251, false, "il posto del codice di gara nelle voci di testata o nella griglia è già usato"},
};

}  // namespace

std::span<const descrizione_errore> errori_build() { return tabella; }

const descrizione_errore* cerca_errore(int32_t codice) {
  auto tutti = errori_build();
  auto it = std::lower_bound(tutti.begin(), tutti.end(), codice,
                             [](const descrizione_errore& d, int32_t c) { return d.codice < c; });
  return it != tutti.end() && it->codice == codice ? &*it : nullptr;
}

bool ha_posizione(int32_t codice) {
  const descrizione_errore* d = cerca_errore(codice);
  return d != nullptr && d->ha_posizione;
}

std::string testo_errore_numerato(int32_t codice, std::optional<int32_t> posizione, std::string_view dettaglio) {
  const descrizione_errore* d = cerca_errore(codice);
  std::string testo = "Errore n. " + std::to_string(codice);
  if (posizione) testo += " a " + std::to_string(*posizione) + " m";
  testo += ": ";
  testo += d ? d->significato : "errore sconosciuto";
  if (!dettaglio.empty()) testo += " (" + std::string(dettaglio) + ")";
  return testo;
}
