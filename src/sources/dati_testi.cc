// The five writers of the start-up: each puts one text of the scenario into
// the program folder, in a file created afresh.
#include "driver/form1.h"
#include "sources/elenco_righe.h"

void Form1::dati_linea() { scrivi_file_nuovo(nome_sorgente_linea(), testo_da_elenco(riempi_elenco(testi.linea))); }

void Form1::dati_treno() { scrivi_file_nuovo(nome_sorgente_treno(), testo_da_elenco(riempi_elenco(testi.treno))); }

void Form1::dati_note() { scrivi_file_nuovo(nome_note(), testo_da_elenco(riempi_elenco(testi.note))); }

void Form1::dati_rallentamenti() {
  scrivi_file_nuovo(nome_rallentamenti(), testo_da_elenco(riempi_elenco(testi.rallentamenti)));
}

void Form1::dati_scheda() { scrivi_file_nuovo(nome_scheda(), testo_da_elenco(riempi_elenco(testi.scheda))); }
