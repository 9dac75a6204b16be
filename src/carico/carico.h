// The package payload: a scenario appended to a package program, so that one
// prebuilt program (the stub) carries any scenario without a compiler. The
// program runs the payload's scenario instead of its compiled-in one
// (driver/programma.h); `scenario pack` writes payloads, `scenario unpack`
// reads them back. docs/formats.md describes the layout for tool makers.
//
// The bytes appended to the program, all numbers little-endian:
//
//   payload   nome_scenario, numero_treno        each a string
//             linea, treno, note,                each a text
//             rallentamenti, scheda
//   trailer   magic "SCENARIO"                   8 bytes
//             format version, 1                  4 bytes
//             payload length in bytes            4 bytes
//             CRC-32 of the payload (crc32.h)    4 bytes
//
//   string    length n (4 bytes), then n bytes of Windows-1252
//   text      number of lines k (4 bytes), then k strings: the lines as the
//             writers hold them, without line ends
//
// The trailer is the file's last 20 bytes; the payload ends where it
// starts, and begins where the program as linked ends
// (carico/immagine_eseguibile.h). Nothing else is encoded: the same scenario
// always gives the same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sources/scenario.h"

inline constexpr std::string_view magia_carico = "SCENARIO";
inline constexpr uint32_t versione_carico = 1;
inline constexpr size_t lunghezza_coda = 20;
// The longest payload a program is read for: seven files of the most a
// scenario folder's file may hold (platform/piattaforma.h, massimo_lettura),
// 448 MiB. A trailer that claims more is a damaged one, refused before
// memory is set aside for it.
inline constexpr uint64_t massimo_carico = 7 * (uint64_t{64} << 20);

struct coda_carico {
  uint32_t versione = versione_carico;
  uint32_t lunghezza = 0;  // of the payload
  uint32_t crc = 0;        // CRC-32 of the payload
};

// The payload of `s`, without the trailer.
// REQUIRES: each name, line and count fits in 4 bytes.
std::string serializza_carico(const scenario& s);
// The trailer of a payload.
std::string serializza_coda(std::string_view carico);
// What a program gets appended: the payload, then its trailer.
std::string carico_con_coda(const scenario& s);

// The trailer in `byte`, the file's last lunghezza_coda bytes; nothing when
// they do not start with the magic.
std::optional<coda_carico> deserializza_coda(std::string_view byte);

// A payload read back into a scenario, or why it cannot be (in Italian, as
// the package program says it: "il testo ... finisce prima del previsto").
// Only the layout is checked here; the rules the texts must keep are
// problema_scenario's (sources/scenario.h).
struct carico_deserializzato {
  std::optional<scenario> s;
  std::string problema;
};
carico_deserializzato deserializza_carico(std::string_view carico);
