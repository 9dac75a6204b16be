// The stubs found beside the tool and read without their payload.
#include "programmi_base.h"

#include "carico/lettura_carico.h"
#include "platform/testo_percorso.h"

std::string_view nome_destinazione(destinazione d) { return d == destinazione::per_linux ? "Linux" : "Windows"; }

std::filesystem::path percorso_programma_base(piattaforma& sistema, destinazione d) {
  return sistema.programma_in_esecuzione().parent_path() / cartella_programmi_base /
         (d == destinazione::per_linux ? base_linux : base_windows);
}

programma_base leggi_programma_base(piattaforma& sistema, destinazione d) {
  const std::filesystem::path p = percorso_programma_base(sistema, d);
  const std::string quale = "il programma base per " + std::string(nome_destinazione(d)) + " " + tra_virgolette(p);
  const std::string rimedio =
      ": installa di nuovo lo strumento dall'archivio di rilascio intero (scenario-*-Linux.tar.gz o "
      "scenario-*-Windows.zip), che ha nella cartella stub i programmi base per Linux e per Windows";
  file_della_piattaforma file(sistema, p);
  if (esito e = file.apri(); e.mancante)
    return {std::nullopt, "manca " + quale + rimedio};
  else if (!e)
    return {std::nullopt, "impossibile leggere " + quale + ": " + e.motivo};
  const programma_letto letto = leggi_programma(file);
  switch (letto.st) {
    case programma_letto::stato::senza_carico:
    case programma_letto::stato::con_carico:
      break;
    case programma_letto::stato::illeggibile:
      return {std::nullopt, "impossibile leggere " + quale + ": " + letto.problema};
    case programma_letto::stato::danneggiato:
    case programma_letto::stato::non_programma:
      return {std::nullopt, quale + " non è un programma sano (" + letto.problema + ")" + rimedio};
  }
  // Whatever payload it carries is left behind: payloads are never stacked.
  std::string byte;
  if (esito e = sistema.leggi_parte(p, 0, static_cast<size_t>(letto.fine_programma), byte); !e)
    return {std::nullopt, "impossibile leggere " + quale + ": " + e.motivo};
  return {std::move(byte), {}};
}
