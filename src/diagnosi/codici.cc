#include "diagnosi/codici.h"

namespace {

// In the order of the codes' values (codici_in_ordine checks the list).
constexpr proprieta_codice tabella[] = {
    {"chiave_sconosciuta", gravita::avviso, true},
    {"sezione_sconosciuta", gravita::avviso, true},
    {"valori_in_piu", gravita::avviso, true},
    {"valori_mancanti", gravita::avviso, true},
    // A fraction rounded away: the value is the one meant, near enough.
    {"numero_arrotondato", gravita::avviso, false},
    {"oltre_fine_percorso", gravita::avviso, true},
    {"area_oltre_fine", gravita::avviso, true},
    {"treno_senza_generale", gravita::avviso, true},
    {"separatore_migliaia", gravita::avviso, true},
    {"fuori_ordine", gravita::avviso, true},
    {"elemento_coperto", gravita::avviso, true},
    {"codifica_mista", gravita::avviso, true},
    {"codifica_non_valida", gravita::errore, true},
    {"valore_negativo", gravita::avviso, true},
    {"fine_prima_inizio", gravita::avviso, true},
    {"commento_letto", gravita::avviso, true},
    {"indicatore_illeggibile", gravita::avviso, true},
    // The blank is kept, in every file name: nothing is lost, but a name
    // that looks the same without it is another name.
    {"nome_con_spazi", gravita::avviso, false},
    {"cartella_non_valida", gravita::errore, true},
    {"avvisi_omessi", gravita::nota, false},
    // Found in files already built, not in what an author wrote.
    {"costruzioni_diverse", gravita::errore, false},
};
static_assert(std::size(tabella) == std::size(codici_avviso));

}  // namespace

const proprieta_codice& proprieta(codice_avviso c) { return tabella[static_cast<size_t>(c)]; }
