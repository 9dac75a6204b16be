// The payload of a program file, found and checked step by step.
#include "carico/lettura_carico.h"

#include "carico/carico.h"
#include "carico/crc32.h"
#include "carico/immagine_eseguibile.h"

namespace {

using stato = programma_letto::stato;

programma_letto fermo(programma_letto r, stato st, std::string problema) {
  r.st = st;
  r.problema = std::move(problema);
  return r;
}

std::string byte(uint64_t n) { return std::to_string(n) + " byte"; }

}  // namespace

static_assert(massimo_carico == 7 * massimo_lettura, "a payload holds seven files that may each be read");

programma_letto leggi_programma(file_a_intervalli& f) {
  programma_letto r;
  const misura_immagine m = misura_programma(f);
  switch (m.st) {
    case misura_immagine::stato::misurata:
      break;
    case misura_immagine::stato::illeggibile:
      return fermo(r, stato::illeggibile, m.problema);
    case misura_immagine::stato::non_programma:
    case misura_immagine::stato::troncata:
      return fermo(r, stato::non_programma, m.problema);
  }
  r.fine_programma = m.fine;
  const uint64_t dimensione = f.dimensione();
  if (dimensione == m.fine) {
    r.st = stato::senza_carico;
    return r;
  }

  // What follows the program must end in a trailer.
  const uint64_t aggiunti = dimensione - m.fine;
  if (aggiunti < lunghezza_coda)
    return fermo(r, stato::danneggiato,
                 "dopo il programma ci sono solo " + byte(aggiunti) + ", meno della coda del contenuto (" +
                     byte(lunghezza_coda) + "): il file è troncato");
  std::string byte_coda;
  if (esito e = f.leggi(dimensione - lunghezza_coda, lunghezza_coda, byte_coda); !e)
    return fermo(r, stato::illeggibile, "impossibile leggere la coda del contenuto: " + e.motivo);
  const std::optional<coda_carico> coda = deserializza_coda(byte_coda);
  if (!coda)
    return fermo(r, stato::danneggiato,
                 "il file non finisce con la coda del contenuto (\"" + std::string(magia_carico) +
                     "\"): è troncato, o qualcosa è stato aggiunto in fondo");
  if (coda->versione != versione_carico)
    return fermo(r, stato::danneggiato,
                 "il contenuto è nella versione " + std::to_string(coda->versione) + " del formato, questo programma "
                 "legge la versione " + std::to_string(versione_carico));
  if (coda->lunghezza != aggiunti - lunghezza_coda)
    return fermo(r, stato::danneggiato,
                 "la coda dichiara un contenuto di " + byte(coda->lunghezza) + ", ma fra il programma e la coda ce ne "
                 "sono " + byte(aggiunti - lunghezza_coda) + ": il file è troncato o alterato");

  if (coda->lunghezza > massimo_carico)
    return fermo(r, stato::danneggiato,
                 "la coda dichiara un contenuto di " + byte(coda->lunghezza) + ", più dei " + byte(massimo_carico) +
                     " che un pacchetto può portare");
  std::string carico;
  if (esito e = f.leggi(m.fine, coda->lunghezza, carico); !e)
    return fermo(r, stato::illeggibile, "impossibile leggere il contenuto: " + e.motivo);
  if (crc32(carico) != coda->crc)
    return fermo(r, stato::danneggiato, "la somma di controllo (CRC-32) del contenuto non corrisponde: il file è "
                                        "stato alterato");
  carico_deserializzato d = deserializza_carico(carico);
  if (!d.s) return fermo(r, stato::danneggiato, "contenuto malformato: " + d.problema);
  if (auto p = problema_scenario(*d.s)) return fermo(r, stato::danneggiato, *p);
  r.st = stato::con_carico;
  r.s = std::move(d.s);
  return r;
}
