// The end of an ELF or PE program from its headers. Every offset and size
// read from the file is checked against the file's size before it is used,
// and sums are taken so that they cannot wrap, so a damaged or hostile file
// is measured or refused, never trusted.
#include "carico/immagine_eseguibile.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "model/cursore.h"

namespace {

using stato = misura_immagine::stato;

// The little-endian word at byte `da` of a header or table read whole.
uint64_t u16(std::string_view b, size_t da) { return cursore_lettura(b, da).parola(); }
uint64_t u32(std::string_view b, size_t da) { return cursore_lettura(b, da).parola_lunga(); }
uint64_t u64(std::string_view b, size_t da) { return cursore_lettura(b, da).parola_doppia(); }

// Measures one file: the furthest end seen so far, and reads that stop at the
// first range beyond the file or the first failure.
struct misura {
  file_a_intervalli& f;
  misura_immagine m;
  uint64_t fine = 0;

  bool ferma(stato st, std::string problema) {
    m.st = st;
    m.problema = std::move(problema);
    return false;
  }

  // The range [inizio, inizio + lunghezza) as part of the program: it must
  // lie inside the file.
  bool comprendi(uint64_t inizio, uint64_t lunghezza, const char* cosa) {
    const uint64_t dimensione = f.dimensione();
    if (inizio > dimensione || lunghezza > dimensione - inizio)
      return ferma(stato::troncata, std::string("il programma è troncato: ") + cosa + " va oltre la fine del file (" +
                                        std::to_string(dimensione) + " byte)");
    fine = std::max(fine, inizio + lunghezza);
    return true;
  }

  // Reads a range that comprendi has taken in.
  bool leggi(uint64_t inizio, uint64_t lunghezza, const char* cosa, std::string& dati) {
    if (!comprendi(inizio, lunghezza, cosa)) return false;
    if (esito e = f.leggi(inizio, static_cast<size_t>(lunghezza), dati); !e)
      return ferma(stato::illeggibile, "impossibile leggere " + std::string(cosa) + ": " + e.motivo);
    return true;
  }

  bool elf(std::string_view h) {
    if (static_cast<uint8_t>(h[4]) != 2 || static_cast<uint8_t>(h[5]) != 1)
      return ferma(stato::non_programma, "è un programma ELF, ma non a 64 bit little-endian");
    const uint64_t phoff = u64(h, 32), shoff = u64(h, 40);
    const uint64_t phentsize = u16(h, 54), phnum = u16(h, 56), shentsize = u16(h, 58);
    uint64_t shnum = u16(h, 60);
    if (phnum > 0 && phentsize < 56) return ferma(stato::non_programma, "intestazione ELF non valida");
    if (shoff != 0 && shentsize < 64) return ferma(stato::non_programma, "intestazione ELF non valida");

    std::string tabella;
    if (phnum > 0) {
      if (!leggi(phoff, phnum * phentsize, "la tabella dei segmenti", tabella)) return false;
      for (uint64_t i = 0; i < phnum; ++i) {
        const size_t p = static_cast<size_t>(i * phentsize);
        if (!comprendi(u64(tabella, p + 8), u64(tabella, p + 32), "un segmento")) return false;
      }
    }
    if (shoff == 0) return true;
    // With more sections than the header can count, the count is the size of
    // section 0.
    if (shnum == 0) {
      if (!leggi(shoff, shentsize, "la tabella delle sezioni", tabella)) return false;
      shnum = u64(tabella, 32);
      if (shnum == 0 || shnum > f.dimensione() / shentsize) return ferma(stato::non_programma, "intestazione ELF non valida");
    }
    if (!leggi(shoff, shnum * shentsize, "la tabella delle sezioni", tabella)) return false;
    constexpr uint64_t sht_nobits = 8;  // a section that takes no room in the file
    for (uint64_t i = 0; i < shnum; ++i) {
      const size_t s = static_cast<size_t>(i * shentsize);
      if (u32(tabella, s + 4) == sht_nobits) continue;
      if (!comprendi(u64(tabella, s + 24), u64(tabella, s + 32), "una sezione")) return false;
    }
    return true;
  }

  bool pe(std::string_view dos) {
    const uint64_t pe = u32(dos, 0x3C);
    std::string coff;
    if (!leggi(pe, 24, "l'intestazione PE", coff)) return false;
    if (std::string_view(coff).substr(0, 4) != std::string_view("PE\0\0", 4))
      return ferma(stato::non_programma, "non è un programma: manca la firma PE");
    // The COFF header after the signature: sections, symbol table and its
    // symbols, optional header's size.
    const uint64_t sezioni = u16(coff, 6), tabella_simboli = u32(coff, 12), simboli = u32(coff, 16);
    const uint64_t dim_opzionale = u16(coff, 20);

    std::string opz;
    if (!leggi(pe + 24, dim_opzionale, "l'intestazione opzionale PE", opz)) return false;
    if (dim_opzionale >= 64) {
      const uint64_t magia = u16(opz, 0);
      if (magia != 0x10B && magia != 0x20B) return ferma(stato::non_programma, "intestazione PE non valida");
      if (!comprendi(0, u32(opz, 60), "le intestazioni")) return false;
      // The certificate table is the one data directory that gives a file
      // offset, not an address in memory.
      const uint64_t directory = magia == 0x20B ? 112 : 96;
      const uint64_t quante = dim_opzionale >= directory ? u32(opz, directory - 4) : 0;
      if (quante > 4 && dim_opzionale >= directory + 5 * 8) {
        const uint64_t inizio = u32(opz, directory + 32), lunghezza = u32(opz, directory + 36);
        if (lunghezza > 0 && !comprendi(inizio, lunghezza, "i certificati")) return false;
      }
    }

    std::string tabella;
    if (!leggi(pe + 24 + dim_opzionale, sezioni * 40, "la tabella delle sezioni", tabella)) return false;
    for (uint64_t i = 0; i < sezioni; ++i) {
      const size_t s = static_cast<size_t>(i * 40);
      const uint64_t lunghezza = u32(tabella, s + 16), inizio = u32(tabella, s + 20);
      if (lunghezza > 0 && !comprendi(inizio, lunghezza, "una sezione")) return false;
    }

    // A COFF symbol table, 18 bytes a symbol, is followed by its string
    // table, whose first 4 bytes give its length.
    if (tabella_simboli != 0) {
      const uint64_t fine_simboli = tabella_simboli + simboli * 18;
      std::string lunghezza;
      if (!leggi(fine_simboli, 4, "la tabella dei simboli", lunghezza)) return false;
      if (!comprendi(fine_simboli, std::max<uint64_t>(4, u32(lunghezza, 0)), "la tabella dei simboli")) return false;
    }
    return true;
  }
};

}  // namespace

misura_immagine misura_programma(file_a_intervalli& f) {
  misura m{f, {}};
  std::string intestazione;
  if (f.dimensione() < 64) return {stato::non_programma, 0, "non è un programma: è lungo solo " +
                                                               std::to_string(f.dimensione()) + " byte"};
  if (!m.leggi(0, 64, "l'intestazione", intestazione)) return m.m;
  bool ok = false;
  if (intestazione.starts_with("\x7F" "ELF"))
    ok = m.elf(intestazione);
  else if (intestazione.starts_with("MZ"))
    ok = m.pe(intestazione);
  else
    return {stato::non_programma, 0, "non è un programma per Linux (ELF) o per Windows (PE)"};
  if (!ok) return m.m;
  return {stato::misurata, m.fine, {}};
}
