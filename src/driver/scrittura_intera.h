// Writing a file whole, the one way every program here puts a file on disk:
// the content goes into a temporary file beside the final one, which is
// closed and then renamed over the final name in one step. No partial file is
// ever left under the final name, and an earlier file of that name stays as it
// was until the new one replaces it whole.
//
// The temporary file is always a new one, created where no file, folder or
// link has the name: a link planted under a temporary name is never written
// through, and a taken name is passed over for the next. A link under the
// final name is replaced by the rename, what it points to untouched.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/piattaforma.h"

// The step of a write that failed, and where: the final file for "aprire"
// (an existing file that may not be written over) and "sostituire" (the
// rename), the temporary file for "creare", "scrivere", "chiudere" and
// "rendere eseguibile".
struct guasto_scrittura {
  std::string azione;
  std::filesystem::path percorso;
  std::string motivo;  // the system's reason (UTF-8)
};

// How many names a write tries for its temporary file.
inline constexpr int nomi_temporanei = 100;

// The temporary name `n` (0 to nomi_temporanei - 1) through which `finale`
// is written: "a.dat.parziale" first, then "a.dat.parz0001" and on, never
// longer than the first.
std::filesystem::path percorso_temporaneo(const std::filesystem::path& finale, int n = 0);

// Whether `p` is one of the temporary names of `finale`.
bool e_temporaneo_di(const std::filesystem::path& p, const std::filesystem::path& finale);

// Writes `contenuto` as the file `finale`. An existing file of that name must
// be one that can be opened for writing, unless it is a link. With `eseguibile`, the file is made
// a program that may be run before it takes its name (piattaforma::
// rendi_eseguibile; the step "rendere eseguibile"). On failure the temporary
// file is removed and the failed step returned; nothing on success.
std::optional<guasto_scrittura> scrivi_per_intero(piattaforma& sistema, const std::filesystem::path& finale,
                                                  std::string_view contenuto, bool eseguibile = false);
