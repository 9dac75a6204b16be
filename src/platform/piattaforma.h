// The seam between the build and the operating system.
//
// Everything a program asks of the platform goes through `piattaforma`: the
// running program's own file and the folder that holds it, the file and
// folder operations, the wait window, the message box and where large
// buffers come from. The build, the package program and the author tool
// reach files and windows in no other way (the tool's only other contact
// with the system is its console and the folder it is started in), so tests
// can run them against an in-memory file system and make any single
// operation fail.
//
// Errors are values: every file operation returns an `esito` that is empty on
// success and otherwise carries the system's reason in words (UTF-8).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>

struct [[nodiscard]] esito {
  bool ok = true;
  std::string motivo;  // the system's reason, when !ok
  // A failure of piattaforma::crea because the name is taken already: a
  // caller may try another name.
  bool nome_occupato = false;
  // A failure because there is no file of that name (nor a folder on the
  // way to it): a caller that treats a missing file apart asks the
  // operation itself, never esiste() first.
  bool mancante = false;

  static esito riuscito() { return {}; }
  static esito fallito(std::string motivo) { return {false, std::move(motivo)}; }
  static esito occupato(std::string motivo) { return {false, std::move(motivo), true}; }
  static esito manca(std::string motivo) { return {false, std::move(motivo), false, true}; }
  explicit operator bool() const { return ok; }
};

// The most `piattaforma::leggi` reads of one file: 64 MiB, far above any real
// scenario (the largest the sources allow has texts well under 1 MB and
// binary files of some 20 MB). A larger file is refused before a byte of it
// is read, so that a wrong file given as a source cannot exhaust memory.
inline constexpr uint64_t massimo_lettura = uint64_t{64} << 20;

// What piattaforma::stato_file tells of a file, through a link if it is one:
// enough to see that it may have changed without reading it.
struct stato_di_file {
  bool regolare = false;  // a plain file (not a folder, a FIFO, a device)
  uint64_t dimensione = 0;
  // The time of the last change, as a count of the system's own ticks: only
  // for telling one time from another, never a date.
  int64_t modificato = 0;
};

// A file being written. Created by piattaforma::crea; closing it is part of
// the write and can fail too (a full disk may only show itself there).
class file_in_scrittura {
 public:
  virtual ~file_in_scrittura() = default;
  virtual esito scrivi(std::string_view dati) = 0;
  virtual esito chiudi() = 0;
};

class piattaforma {
 public:
  virtual ~piattaforma() = default;

  // The folder that holds the running program; every file lives there.
  virtual std::filesystem::path cartella_programma() = 0;
  // The running program's own file, which may carry a payload
  // (carico/lettura_carico.h), and beside which the author tool finds the
  // stubs it packs.
  virtual std::filesystem::path programma_in_esecuzione() = 0;

  // File operations, each one step that may fail on its own.
  virtual bool esiste(const std::filesystem::path& p) = 0;
  // Whether the name itself is a symbolic link (on Windows, a junction too),
  // whether or not what it points to exists.
  virtual bool e_collegamento(const std::filesystem::path& p) = 0;
  // Opens an existing file for reading and writing and closes it again;
  // neither a link is followed nor a FIFO waited on.
  virtual esito apri_e_chiudi(const std::filesystem::path& p) = 0;
  // Creates a new file for writing. A name that is taken already, by a file,
  // a folder or a link (never followed), is a failure with nome_occupato.
  virtual esito crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) = 0;
  // Moves `da` over `a`, replacing `a` in one step; a link at `a` is
  // replaced itself, what it points to untouched.
  virtual esito rinomina(const std::filesystem::path& da, const std::filesystem::path& a) = 0;
  virtual esito rimuovi(const std::filesystem::path& p) = 0;
  // Reads a plain file whole, through a link if it is one. Anything else (a
  // folder, a FIFO, a device) is a failure, found without waiting on it, and
  // so is a file of more than massimo_lettura bytes.
  virtual esito leggi(const std::filesystem::path& p, std::string& contenuto) = 0;
  // A plain file's size in bytes, and a range of it: exactly `quanti` bytes
  // from `inizio` (fewer is a failure), so that a long file is read only
  // where it must be.
  virtual esito dimensione(const std::filesystem::path& p, uint64_t& byte) = 0;
  virtual esito leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti,
                            std::string& dati) = 0;
  // A file's kind, size and time of change, through a link if it is one, in
  // one call: what a program that watches a file looks at before reading it.
  virtual esito stato_file(const std::filesystem::path& p, stato_di_file& stato) = 0;
  // Marks the file as a program that may be run, where the platform keeps
  // such a mark (POSIX); elsewhere nothing to do.
  virtual esito rendi_eseguibile(const std::filesystem::path& p) = 0;

  // Folders, for a program that makes its own (the author tool's output
  // folder and its private working folder); the build itself uses none.
  virtual bool e_cartella(const std::filesystem::path& p) = 0;
  // Whether `a` and `b` name one file: the same existing file or, when either
  // is missing, the same path once `.`, `..` and links are resolved.
  virtual bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) = 0;
  // Creates the folder and every missing folder above it; an existing folder
  // is left as it is.
  virtual esito crea_cartella(const std::filesystem::path& p) = 0;
  // Creates a new folder inside `dentro`, named `prefisso` and a few
  // characters that no other folder there has; its path goes into `creata`.
  virtual esito crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                         std::filesystem::path& creata) = 0;
  // Removes the folder and everything in it.
  virtual esito rimuovi_cartella(const std::filesystem::path& p) = 0;

  // The wait window with "Attendere": shown without an owner, not modal, and
  // painted once at once. A window that cannot be shown does not stop the run.
  virtual void mostra_attesa() = 0;
  // A modal message box with OK only, `testo` in UTF-8; returns when the user
  // has closed it.
  virtual void messaggio(const std::string& testo) = 0;

  // The platform's form of a file name held as Windows-1252 bytes.
  virtual std::filesystem::path nome_file(std::string_view nome_cp1252) = 0;

  // Where the build's large buffers come from: the line file's image, up to
  // some 20 MB. The heap unless a platform has a cheaper way to fill them.
  virtual std::pmr::memory_resource& memoria_grande() { return *std::pmr::new_delete_resource(); }
};
