#include "flusso_mostrabile.h"

#include "model/testo_mostrabile.h"

flusso_mostrabile::~flusso_mostrabile() {
  std::lock_guard<std::mutex> blocco(mutex_);
  passa(true);
  sotto_->pubsync();
}

flusso_mostrabile::int_type flusso_mostrabile::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char carattere = traits_type::to_char_type(c);
  xsputn(&carattere, 1);
  return c;
}

std::streamsize flusso_mostrabile::xsputn(const char* s, std::streamsize n) {
  std::lock_guard<std::mutex> blocco(mutex_);
  tenuto_.append(s, static_cast<size_t>(n));
  passa(false);
  return n;
}

int flusso_mostrabile::sync() {
  std::lock_guard<std::mutex> blocco(mutex_);
  passa(true);
  return sotto_->pubsync();
}

void flusso_mostrabile::passa(bool tutto) {
  // Whole lines, so that a character is never escaped half: a stream that
  // flushes after every write (standard error does) passes each write whole.
  const size_t fine = tutto ? tenuto_.size() : tenuto_.rfind('\n') + 1;
  if (fine == 0) return;  // no line end: rfind's npos + 1
  const std::string mostrato = testo_mostrabile(std::string_view(tenuto_).substr(0, fine));
  sotto_->sputn(mostrato.data(), static_cast<std::streamsize>(mostrato.size()));
  tenuto_.erase(0, fine);
}
