#include "diagnosi/codici.h"

std::string_view nome_avviso(codice_avviso c) {
  switch (c) {
    case codice_avviso::chiave_sconosciuta: return "chiave_sconosciuta";
    case codice_avviso::sezione_sconosciuta: return "sezione_sconosciuta";
    case codice_avviso::valori_in_piu: return "valori_in_piu";
    case codice_avviso::valori_mancanti: return "valori_mancanti";
    case codice_avviso::numero_arrotondato: return "numero_arrotondato";
    case codice_avviso::oltre_fine_percorso: return "oltre_fine_percorso";
    case codice_avviso::area_oltre_fine: return "area_oltre_fine";
    case codice_avviso::treno_senza_generale: return "treno_senza_generale";
    case codice_avviso::separatore_migliaia: return "separatore_migliaia";
    case codice_avviso::fuori_ordine: return "fuori_ordine";
    case codice_avviso::elemento_coperto: return "elemento_coperto";
    case codice_avviso::codifica_mista: return "codifica_mista";
  }
  return "?";
}
