// Watching the two source texts for an author's saves by looking at them a
// few times a second: no notifications of the operating system, so it works
// alike on every system and file system, network folders and editors that
// save by renaming included. What decides when to rebuild is a value fed
// with what each look saw and when, so its tests need neither files nor a
// clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/piattaforma.h"

using orologio = std::chrono::steady_clock;

// What a look at a file sees without reading it.
struct impronta_file {
  bool esiste = false;
  uint64_t dimensione = 0;
  int64_t tempo = 0;  // the platform's time of change (stato_di_file)
  bool operator==(const impronta_file&) const = default;
};

// The file's print now, through the platform; a file that cannot be looked
// at, or is not a plain file, counts as missing.
impronta_file impronta(piattaforma& sistema, const std::filesystem::path& p);

// A file's content in 64 bits (FNV-1a), to tell a change that keeps the
// size and the time (a coarse clock of the file system, a copy that keeps
// the time).
uint64_t impronta_contenuto(std::string_view contenuto);

// When to rebuild. A change is taken once the files have stayed as they are
// for `quiete`: a save in several writes, or both files saved one after the
// other, is one rebuild. While a file is missing (an editor that moves the
// old file away and then writes the new one), the rebuild waits up to
// `pazienza` for it to come back, then goes ahead and reports it missing.
//
// And when to read the contents, for a change that keeps the size and the
// time: a second save within the tick of a file system's coarse clock (two
// seconds on FAT). That can only follow another change closely, so the
// contents are read every `tra_letture` during `finestra` after the start
// and after each change seen, and never while the files lie still: an idle
// watch of a long text reads nothing.
class sorveglianza {
 public:
  sorveglianza(orologio::duration quiete, orologio::duration pazienza,
               orologio::duration tra_letture = std::chrono::seconds(1),
               orologio::duration finestra = std::chrono::seconds(5))
      : quiete_(quiete), pazienza_(pazienza), tra_letture_(tra_letture), finestra_(finestra) {}

  // One look, at `ora`; the first only sets what later ones compare with.
  // True when a rebuild is due now.
  bool guarda(const std::vector<impronta_file>& viste, orologio::time_point ora);
  // A change that the prints do not show (the content differs, the size and
  // the time do not), found at `ora`.
  void cambiato(orologio::time_point ora);
  // A change is waiting to settle: then the caller looks again soon.
  bool in_attesa() const { return in_attesa_; }
  // Whether the contents are to be read at `ora`; once true, not again
  // before `tra_letture` has passed.
  bool leggere_contenuti(orologio::time_point ora);
  // A build has ended at `ora`: a long one may have taken all the time
  // after the change, and a second save may have come meanwhile.
  void costruita(orologio::time_point ora) { ultimo_movimento_ = ora; }

 private:
  orologio::duration quiete_, pazienza_, tra_letture_, finestra_;
  std::vector<impronta_file> ultime_;
  bool prima_ = true;
  bool in_attesa_ = false;
  orologio::time_point cambiato_{};
  orologio::time_point ultimo_movimento_{};  // the start, or the latest change seen or build
  orologio::time_point prossima_lettura_{};
};
