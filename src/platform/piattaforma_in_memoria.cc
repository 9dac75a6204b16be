#include "platform/piattaforma_in_memoria.h"

#include "model/windows1252.h"

namespace {

const esito mancante = esito::manca("No such file or directory");

class file_in_memoria : public file_in_scrittura {
 public:
  file_in_memoria(std::string& contenuto, int64_t& modificato, const int64_t& ora)
      : contenuto_(contenuto), modificato_(modificato), ora_(ora) {}
  esito scrivi(std::string_view dati) override {
    contenuto_.append(dati);
    modificato_ = ora_;
    return esito::riuscito();
  }
  esito chiudi() override { return esito::riuscito(); }

 private:
  std::string& contenuto_;
  int64_t& modificato_;
  const int64_t& ora_;
};

// The key of the folder that holds `chiave`; "" for the program folder.
std::string cartella_di(const std::string& chiave) {
  const size_t barra = chiave.rfind('/');
  return barra == std::string::npos ? std::string() : chiave.substr(0, barra);
}

// A path's text in UTF-8, on every platform (a narrow string would be the
// ANSI code page's on Windows).
std::string utf8(const std::filesystem::path& p) {
  const std::u8string u = p.generic_u8string();
  return std::string(u.begin(), u.end());
}

bool dentro(const std::string& chiave, const std::string& cartella) {
  return chiave.size() > cartella.size() && chiave.compare(0, cartella.size(), cartella) == 0 &&
         chiave[cartella.size()] == '/';
}

}  // namespace

std::string piattaforma_in_memoria::nome(const std::filesystem::path& p) {
  // "/programma/..." is rooted but not absolute on Windows: a root at all
  // means a path to compare with the program folder.
  const bool radicato = p.has_root_directory() || p.has_root_name();
  const std::filesystem::path relativo = (radicato ? p.lexically_relative(cartella_) : p).lexically_normal();
  std::string chiave = utf8(relativo);
  if (relativo.empty() || chiave == ".." || chiave.starts_with("../")) {
    fuori_cartella.push_back(utf8(p));
    return utf8(p.filename());
  }
  if (chiave == ".") return {};
  while (chiave.ends_with('/')) chiave.pop_back();
  return chiave;
}

bool piattaforma_in_memoria::c_e_la_cartella_di(const std::string& chiave) const {
  const std::string c = cartella_di(chiave);
  return c.empty() || cartelle.count(c) != 0;
}

std::string piattaforma_in_memoria::seguito(const std::string& chiave) const {
  auto it = collegamenti.find(chiave);
  return it == collegamenti.end() ? chiave : it->second;
}

std::filesystem::path piattaforma_in_memoria::programma_in_esecuzione() {
  return base_ ? base_->programma_in_esecuzione() : cartella_ / "programma";
}

bool piattaforma_in_memoria::esiste(const std::filesystem::path& p) {
  return file.count(nome(p)) != 0 || collegamenti.count(nome(p)) != 0 || e_cartella(p);
}

esito piattaforma_in_memoria::apri_e_chiudi(const std::filesystem::path& p) {
  if (collegamenti.count(nome(p))) return esito::fallito("Too many levels of symbolic links");
  return file.count(nome(p)) ? esito::riuscito() : mancante;
}

esito piattaforma_in_memoria::crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) {
  const std::string chiave = nome(p);
  if (!c_e_la_cartella_di(chiave)) return mancante;
  if (file.count(chiave) || cartelle.count(chiave) || collegamenti.count(chiave)) return esito::occupato("File exists");
  std::string& contenuto = file[chiave];
  int64_t& modificato = modificati[chiave];
  modificato = ora;
  eseguibili.erase(chiave);
  f = std::make_unique<file_in_memoria>(contenuto, modificato, ora);
  return esito::riuscito();
}

esito piattaforma_in_memoria::rinomina(const std::filesystem::path& da, const std::filesystem::path& a) {
  const std::string origine = nome(da), destinazione = nome(a);
  auto it = file.find(origine);
  if (it == file.end() || !c_e_la_cartella_di(destinazione)) return mancante;
  if (cartelle.count(destinazione)) return esito::fallito("Is a directory");
  if (origine == destinazione) return esito::riuscito();
  std::string contenuto = std::move(it->second);
  file.erase(it);
  collegamenti.erase(destinazione);
  file[destinazione] = std::move(contenuto);
  modificati.erase(origine);
  modificati[destinazione] = ora;
  // The mark of a program goes with the file.
  eseguibili.erase(destinazione);
  if (eseguibili.erase(origine)) eseguibili.insert(destinazione);
  return esito::riuscito();
}

esito piattaforma_in_memoria::rimuovi(const std::filesystem::path& p) {
  const std::string chiave = nome(p);
  if (collegamenti.erase(chiave) != 0) return esito::riuscito();
  if (file.erase(chiave) == 0) return mancante;
  eseguibili.erase(chiave);
  modificati.erase(chiave);
  return esito::riuscito();
}

esito piattaforma_in_memoria::leggi(const std::filesystem::path& p, std::string& contenuto) {
  auto it = file.find(seguito(nome(p)));
  if (it == file.end()) return mancante;
  contenuto = it->second;
  return esito::riuscito();
}

esito piattaforma_in_memoria::dimensione(const std::filesystem::path& p, uint64_t& byte) {
  auto it = file.find(nome(p));
  if (it == file.end()) return mancante;
  byte = it->second.size();
  return esito::riuscito();
}

esito piattaforma_in_memoria::leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti,
                                          std::string& dati) {
  auto it = file.find(nome(p));
  if (it == file.end()) return mancante;
  if (inizio > it->second.size() || quanti > it->second.size() - inizio)
    return esito::fallito("il file è più corto del previsto");
  dati = it->second.substr(static_cast<size_t>(inizio), quanti);
  return esito::riuscito();
}

esito piattaforma_in_memoria::stato_file(const std::filesystem::path& p, stato_di_file& stato) {
  const std::string chiave = seguito(nome(p));
  if (chiave.empty() || cartelle.count(chiave)) {
    stato = {};
    return esito::riuscito();
  }
  auto it = file.find(chiave);
  if (it == file.end()) return mancante;
  auto tempo = modificati.find(chiave);
  stato = {true, it->second.size(), tempo == modificati.end() ? 0 : tempo->second};
  return esito::riuscito();
}

esito piattaforma_in_memoria::rendi_eseguibile(const std::filesystem::path& p) {
  if (file.count(nome(p)) == 0) return mancante;
  eseguibili.insert(nome(p));
  return esito::riuscito();
}

bool piattaforma_in_memoria::e_cartella(const std::filesystem::path& p) {
  const std::string chiave = nome(p);
  return chiave.empty() || cartelle.count(chiave) != 0;
}

bool piattaforma_in_memoria::stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  return nome(a) == nome(b);
}

esito piattaforma_in_memoria::crea_cartella(const std::filesystem::path& p) {
  const std::string chiave = nome(p);
  for (std::string c = chiave; !c.empty(); c = cartella_di(c)) {
    if (file.count(c)) return esito::fallito("File exists");
  }
  for (std::string c = chiave; !c.empty(); c = cartella_di(c)) cartelle.insert(c);
  return esito::riuscito();
}

esito piattaforma_in_memoria::crea_cartella_temporanea(const std::filesystem::path& dentro,
                                                       std::string_view prefisso, std::filesystem::path& creata) {
  const std::filesystem::path p = prossima_temporanea(dentro, prefisso);
  ++temporanee_;
  if (!e_cartella(dentro)) return mancante;
  cartelle.insert(nome(p));
  creata = p;
  return esito::riuscito();
}

esito piattaforma_in_memoria::rimuovi_cartella(const std::filesystem::path& p) {
  const std::string chiave = nome(p);
  if (chiave.empty() || cartelle.count(chiave) == 0) return mancante;
  std::erase_if(file, [&](const auto& f) { return dentro(f.first, chiave); });
  std::erase_if(collegamenti, [&](const auto& c) { return dentro(c.first, chiave); });
  std::erase_if(modificati, [&](const auto& m) { return dentro(m.first, chiave); });
  std::erase_if(cartelle, [&](const std::string& c) { return c == chiave || dentro(c, chiave); });
  return esito::riuscito();
}

std::filesystem::path piattaforma_in_memoria::nome_file(std::string_view nome_cp1252) {
  if (base_) return base_->nome_file(nome_cp1252);
  const std::string nome = da_cp1252_a_utf8(nome_cp1252);
  return std::filesystem::path(std::u8string(nome.begin(), nome.end()));
}

std::pmr::memory_resource& piattaforma_in_memoria::memoria_grande() {
  return base_ ? base_->memoria_grande() : *std::pmr::new_delete_resource();
}
