// A file read one byte range at a time: a program file on disk, of which
// only the headers, the trailer and the payload are ever read, or the same
// bytes in memory for tests and fuzzing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/piattaforma.h"

class file_a_intervalli {
 public:
  virtual ~file_a_intervalli() = default;
  virtual uint64_t dimensione() const = 0;
  // Exactly `quanti` bytes from `inizio` into `dati`.
  // REQUIRES: inizio + quanti <= dimensione().
  virtual esito leggi(uint64_t inizio, size_t quanti, std::string& dati) = 0;
};

// Bytes in memory, which must outlive it.
class file_in_memoria : public file_a_intervalli {
 public:
  explicit file_in_memoria(std::string_view byte) : byte_(byte) {}
  uint64_t dimensione() const override { return byte_.size(); }
  esito leggi(uint64_t inizio, size_t quanti, std::string& dati) override {
    dati.assign(byte_.substr(static_cast<size_t>(inizio), quanti));
    return esito::riuscito();
  }

 private:
  std::string_view byte_;
};

// A file through the platform seam, of the size it had when opened with
// apri().
class file_della_piattaforma : public file_a_intervalli {
 public:
  file_della_piattaforma(piattaforma& sistema, std::filesystem::path percorso)
      : sistema_(sistema), percorso_(std::move(percorso)) {}
  // Learns the file's size; the first step, which may fail.
  esito apri() { return sistema_.dimensione(percorso_, dimensione_); }
  uint64_t dimensione() const override { return dimensione_; }
  esito leggi(uint64_t inizio, size_t quanti, std::string& dati) override {
    return sistema_.leggi_parte(percorso_, inizio, quanti, dati);
  }

 private:
  piattaforma& sistema_;
  std::filesystem::path percorso_;
  uint64_t dimensione_ = 0;
};
