// The platform and the console that a build can be abandoned with.
#include "osserva/abbandono.h"

#include <utility>

namespace {

esito interrotta() { return esito::fallito("interrotto: scenario watch sta finendo"); }

}  // namespace

// A file being written, through the platform: its writes wait for the
// platform's lock, and the platform can close it when shut.
class piattaforma_abbandonabile::file_abbandonabile : public file_in_scrittura {
 public:
  file_abbandonabile(piattaforma_abbandonabile& p, std::unique_ptr<file_in_scrittura> f) : p_(p), f_(std::move(f)) {
    p_.aperti_.insert(this);  // under the lock of crea
  }
  ~file_abbandonabile() override {
    std::lock_guard<std::timed_mutex> l(p_.mutex_);
    p_.aperti_.erase(this);
    f_.reset();
  }
  esito scrivi(std::string_view dati) override {
    return p_.cambia([&] { return f_ ? f_->scrivi(dati) : interrotta(); });
  }
  esito chiudi() override {
    return p_.cambia([&] { return f_ ? f_->chiudi() : interrotta(); });
  }
  // Let go of the system's file, so that it can be removed (Windows
  // removes no file that is open). Under the platform's lock.
  void abbandona() { f_.reset(); }

 private:
  piattaforma_abbandonabile& p_;
  std::unique_ptr<file_in_scrittura> f_;
};

piattaforma_abbandonabile::~piattaforma_abbandonabile() = default;

template <class F>
esito piattaforma_abbandonabile::cambia(F operazione) {
  std::lock_guard<std::timed_mutex> l(mutex_);
  if (chiusa_) return interrotta();
  return operazione();
}

bool piattaforma_abbandonabile::chiudi(std::chrono::milliseconds entro) {
  std::unique_lock<std::timed_mutex> l(mutex_, std::defer_lock);
  const bool presa = l.try_lock_for(entro);
  chiusa_ = true;
  if (!presa) return false;
  for (file_abbandonabile* f : aperti_) f->abbandona();
  // At best: the watch is ending, with nobody left to tell.
  for (const std::filesystem::path& p : creati_) (void)sotto_.rimuovi(p);
  for (const std::filesystem::path& p : cartelle_) (void)sotto_.rimuovi_cartella(p);
  creati_.clear();
  cartelle_.clear();
  return true;
}

esito piattaforma_abbandonabile::apri_e_chiudi(const std::filesystem::path& p) {
  return cambia([&] { return sotto_.apri_e_chiudi(p); });
}

esito piattaforma_abbandonabile::crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) {
  std::unique_ptr<file_in_scrittura> nuovo;
  esito e = cambia([&] {
    std::unique_ptr<file_in_scrittura> creato;
    esito c = sotto_.crea(p, creato);
    if (c) {
      creati_.insert(p);
      nuovo = std::make_unique<file_abbandonabile>(*this, std::move(creato));
    }
    return c;
  });
  // Outside the lock: a file `f` held before goes, and takes the lock.
  if (e) f = std::move(nuovo);
  return e;
}

esito piattaforma_abbandonabile::rinomina(const std::filesystem::path& da, const std::filesystem::path& a) {
  return cambia([&] {
    esito e = sotto_.rinomina(da, a);
    if (e) creati_.erase(da);
    return e;
  });
}

esito piattaforma_abbandonabile::rimuovi(const std::filesystem::path& p) {
  return cambia([&] {
    esito e = sotto_.rimuovi(p);
    if (e) creati_.erase(p);
    return e;
  });
}

// Reading changes nothing: it waits for no lock, and a read that hangs
// does not keep the watch from ending.
esito piattaforma_abbandonabile::leggi(const std::filesystem::path& p, std::string& contenuto) {
  return chiusa_ ? interrotta() : sotto_.leggi(p, contenuto);
}

esito piattaforma_abbandonabile::dimensione(const std::filesystem::path& p, uint64_t& byte) {
  return chiusa_ ? interrotta() : sotto_.dimensione(p, byte);
}

esito piattaforma_abbandonabile::leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti,
                                             std::string& dati) {
  return chiusa_ ? interrotta() : sotto_.leggi_parte(p, inizio, quanti, dati);
}

esito piattaforma_abbandonabile::stato_file(const std::filesystem::path& p, stato_di_file& stato) {
  return chiusa_ ? interrotta() : sotto_.stato_file(p, stato);
}

esito piattaforma_abbandonabile::rendi_eseguibile(const std::filesystem::path& p) {
  return cambia([&] { return sotto_.rendi_eseguibile(p); });
}

esito piattaforma_abbandonabile::crea_cartella(const std::filesystem::path& p) {
  return cambia([&] { return sotto_.crea_cartella(p); });
}

esito piattaforma_abbandonabile::crea_cartella_temporanea(const std::filesystem::path& dentro,
                                                          std::string_view prefisso, std::filesystem::path& creata) {
  return cambia([&] {
    esito e = sotto_.crea_cartella_temporanea(dentro, prefisso, creata);
    if (e) cartelle_.insert(creata);
    return e;
  });
}

esito piattaforma_abbandonabile::rimuovi_cartella(const std::filesystem::path& p) {
  return cambia([&] {
    esito e = sotto_.rimuovi_cartella(p);
    if (e) cartelle_.erase(p);
    return e;
  });
}

void console_abbandonabile::chiudi() {
  std::lock_guard<std::mutex> l(mutex_);
  sotto_->pubsync();
  chiusa_ = true;
}

console_abbandonabile::int_type console_abbandonabile::overflow(int_type c) {
  std::lock_guard<std::mutex> l(mutex_);
  if (chiusa_ || traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  return sotto_->sputc(traits_type::to_char_type(c));
}

std::streamsize console_abbandonabile::xsputn(const char* s, std::streamsize n) {
  std::lock_guard<std::mutex> l(mutex_);
  return chiusa_ ? n : sotto_->sputn(s, n);
}

int console_abbandonabile::sync() {
  std::lock_guard<std::mutex> l(mutex_);
  return chiusa_ ? 0 : sotto_->pubsync();
}
