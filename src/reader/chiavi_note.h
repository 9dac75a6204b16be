// The keys and section headers as authors write them (the spellings of the
// example scenarios), for the hints of the warnings: the nearest known key to
// a field that matched none, and whether a bracketed header is one of a
// source's sections. The reader recognises keys by the words they contain
// (reader/chiavi.h) and looks at no section but "[generale]"; these lists only
// name things to the author, and never decide how a field is read.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "reader/avvisi.h"

// The parts of the texts where keys are read: the general section of the
// line source, the rest of it (its profile), the train source.
enum class parte_testo { generale_linea, profilo_linea, treno };

// The keys of one part, lower case, in Windows-1252.
std::span<const std::string_view> chiavi_della_parte(parte_testo p);
// The section headers of one source, lower case.
std::span<const std::string_view> sezioni_del_sorgente(sorgente_build s);

// The end of a warning's sentence for a key field of part `p` that matched no
// key, or empty when nothing is near: "forse \"pendenza\"?", "forse
// \"curvas4\" o \"curvad4\"?", a key written with capitals where it must be
// lower case, or a key of another part that is not read here. UTF-8.
std::string suggerimento_chiave(std::string_view campo, parte_testo p);

// The key that most likely was meant by `campo`, a key field of part `p`
// that matched no key, as a fix writes it (lower case, Windows-1252): the key
// written with capitals, or the one key nearest to it; nothing when there is
// no such single key.
std::optional<std::string> chiave_proposta(std::string_view campo, parte_testo p);
// Likewise for a bracketed header that is none of source `s`'s sections.
std::optional<std::string> sezione_proposta(std::string_view campo, sorgente_build s);

// The keys of part `p` that the reader takes `campo` for, by the words it
// holds, as a sentence's object: "la chiave \"segnale\"", "le chiavi
// \"pendenza\" e \"montagna\""; empty for none. `curve`: the curves are read
// (a build with the line file).
std::string chiavi_lette(std::string_view campo, parte_testo p, bool curve);

// A bracketed field: "[" first and "]" last, once blanks are gone.
bool intestazione(std::string_view campo);
// Whether `campo` (an intestazione) is one of the sections of source `s`,
// letter case aside.
bool sezione_nota(std::string_view campo, sorgente_build s);
// The end of a warning's sentence for a header that is not one of source
// `s`'s sections, or empty: the nearest of them, or the other source's.
std::string suggerimento_sezione(std::string_view campo, sorgente_build s);
