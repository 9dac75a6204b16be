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

using orologio = std::chrono::steady_clock;

// What a look at a file sees without reading it.
struct impronta_file {
  bool esiste = false;
  std::uintmax_t dimensione = 0;
  std::filesystem::file_time_type tempo{};
  bool operator==(const impronta_file&) const = default;
};

// The file's print now; a file that cannot be looked at counts as missing.
impronta_file impronta(const std::filesystem::path& p);

// A file's content in 64 bits (FNV-1a), to tell a change that keeps the
// size and the time (a coarse clock of the file system, a copy that keeps
// the time).
uint64_t impronta_contenuto(std::string_view contenuto);

// When to rebuild. A change is taken once the files have stayed as they are
// for `quiete`: a save in several writes, or both files saved one after the
// other, is one rebuild. While a file is missing (an editor that moves the
// old file away and then writes the new one), the rebuild waits up to
// `pazienza` for it to come back, then goes ahead and reports it missing.
class sorveglianza {
 public:
  sorveglianza(orologio::duration quiete, orologio::duration pazienza) : quiete_(quiete), pazienza_(pazienza) {}

  // One look, at `ora`; the first only sets what later ones compare with.
  // True when a rebuild is due now.
  bool guarda(const std::vector<impronta_file>& viste, orologio::time_point ora);
  // A change that the prints do not show (the content differs, the size and
  // the time do not), found at `ora`.
  void cambiato(orologio::time_point ora);
  // A change is waiting to settle: then the caller looks again soon.
  bool in_attesa() const { return in_attesa_; }

 private:
  orologio::duration quiete_, pazienza_;
  std::vector<impronta_file> ultime_;
  bool prima_ = true;
  bool in_attesa_ = false;
  orologio::time_point cambiato_{};
};
