// Warnings: what the reader drops or bends in an author's source text without
// stopping the build, each a diagnostic (diagnosi/diagnostica.h) with where it
// was met. The reader appends them to a list while it reads, beside the
// fields it reads them from; how any field is read is the same with or
// without them, so the files a build writes never depend on them. The package program ignores them; the author tool reports
// them.
//
// Nothing is formatted unless a warning occurs: the functions below make the
// texts, and the reader calls them only for a warning it is about to add.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "diagnosi/diagnostica.h"
#include "model/descrizione_cella.h"

// A warning of the reader at line `riga`, column `colonna` of source `s`
// (its end, a fix and related places are set by the caller where known).
diagnostica avviso(sorgente_build s, int32_t riga, int32_t colonna, codice_avviso c, std::string testo);

// --- the texts --------------------------------------------------------------
// Fields and keys are given as read (Windows-1252); the texts are UTF-8. A
// long field is shown cut short.


// `suggerimento` completes the sentence: "forse \"pendenza\"?", or empty.
std::string testo_chiave_sconosciuta(std::string_view campo, std::string_view suggerimento);
std::string testo_sezione_sconosciuta(std::string_view campo, sorgente_build s, std::string_view suggerimento);
std::string testo_valori_in_piu(std::string_view campo, std::string_view chiave);
// `numero`: a number with a blank in it, read as two, before `campo`, left over.
std::string testo_numero_spezzato(std::string_view numero, std::string_view campo, std::string_view chiave);
std::string testo_valori_mancanti(std::string_view chiave, int32_t riga_seguente);
std::string testo_numero_arrotondato(std::string_view numero, int64_t valore);
std::string testo_separatore_migliaia(std::string_view numero, int64_t valore);
// `elemento`: "pendenza", "velocità", "aderenza"; `raggiunta`: the farthest
// position of the list's lines before it.
std::string testo_fuori_ordine(std::string_view elemento, int32_t posizione, int32_t raggiunta);

// `di_coperto`: "del cartello \"...\"", "di un segnale", ...; `metro`: where
// it stood.
std::string testo_elemento_coperto(std::string_view stazione, std::string_view di_coperto, int32_t metro);
// `elemento`: "segnale", "stazione", ... as the author calls it.
std::string testo_oltre_fine(std::string_view elemento, int32_t posizione, int32_t lunghezza);
std::string testo_area_oltre_fine(std::string_view nome, int32_t inizio, int32_t fine, int32_t lunghezza);
// `vuoto`: the file holds nothing at all.
std::string testo_treno_senza_generale(bool vuoto = false);
// `numero`: a number with a decimal comma ("30,5"), read as two, before
// `campo`, left over.
std::string testo_numero_con_virgola(std::string_view numero, std::string_view campo, std::string_view chiave);
// `di_cosa`: "del rallentamento", ...; `effetto`: what the build makes of it.
std::string testo_valore_negativo(std::string_view di_cosa, int32_t valore, std::string_view effetto);
std::string testo_fine_prima_inizio(int32_t inizio, int32_t fine);
// `campo`: the key field as written (not empty); `chiavi`: "la chiave
// \"segnale\"", or several.
std::string testo_commento_letto(std::string_view campo, std::string_view chiavi);
// `coppia`: 'a', 'b' or 'c'; `letta`: the speed the simulator reads back
// from the value the build writes, or -1 when it reads none.
std::string testo_indicatore_illeggibile(char coppia, int32_t sinistro, int32_t destro, int64_t letta);
// codifica_mista's text is model/testo_autore.h's testo_codifica_mista.
