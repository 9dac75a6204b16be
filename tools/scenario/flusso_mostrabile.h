// The tool's standard error as a terminal shows it: every line written
// through it goes out with its control characters escaped
// (model/testo_mostrabile.h), whatever message carries them: a name from a
// payload, a folder's path, a line quoted from a source.
#pragma once

#include <mutex>
#include <streambuf>
#include <string>

class flusso_mostrabile : public std::streambuf {
 public:
  // Writes into `sotto`, which must outlive it.
  explicit flusso_mostrabile(std::streambuf* sotto) : sotto_(sotto) {}
  ~flusso_mostrabile() override;
  flusso_mostrabile(const flusso_mostrabile&) = delete;
  flusso_mostrabile& operator=(const flusso_mostrabile&) = delete;

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  // Passes on every whole line held; with `tutto`, the rest too.
  void passa(bool tutto);

  std::streambuf* sotto_;
  std::string tenuto_;
  std::mutex mutex_;
};
