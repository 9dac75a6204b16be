#include "support/file_system_fake.h"

#include "model/windows1252.h"

namespace {

const esito simulato = esito::fallito("errore simulato");
const esito mancante = esito::fallito("No such file or directory");

class file_finto : public file_in_scrittura {
 public:
  file_finto(sistema_finto& s, std::string nome) : s_(s), nome_(std::move(nome)) {}
  esito scrivi(std::string_view dati) override {
    if (!s_.conta("scrivi " + nome_)) return simulato;
    s_.file[nome_].append(dati);
    return esito::riuscito();
  }
  esito chiudi() override { return s_.conta("chiudi " + nome_) ? esito::riuscito() : simulato; }

 private:
  sistema_finto& s_;
  std::string nome_;
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

std::string sistema_finto::nome(const std::filesystem::path& p) {
  // "/programma/..." is rooted but not absolute on Windows: a root at all
  // means a path to compare with the program folder.
  const bool radicato = p.has_root_directory() || p.has_root_name();
  const std::filesystem::path relativo = (radicato ? p.lexically_relative(cartella_programma()) : p).lexically_normal();
  std::string chiave = utf8(relativo);
  if (relativo.empty() || chiave == ".." || chiave.starts_with("../")) {
    fuori_cartella.push_back(utf8(p));
    return utf8(p.filename());
  }
  if (chiave == ".") return {};
  while (chiave.ends_with('/')) chiave.pop_back();
  return chiave;
}

bool sistema_finto::c_e_la_cartella_di(const std::string& chiave) const {
  const std::string c = cartella_di(chiave);
  return c.empty() || cartelle.count(c) != 0;
}

bool sistema_finto::conta(const std::string& voce_registro) {
  registro.push_back(voce_registro);
  return ++operazioni != operazione_che_fallisce;
}

bool sistema_finto::esiste(const std::filesystem::path& p) { return file.count(nome(p)) != 0 || e_cartella(p); }

esito sistema_finto::apri_e_chiudi(const std::filesystem::path& p) {
  if (!conta("apri " + nome(p))) return simulato;
  return file.count(nome(p)) ? esito::riuscito() : mancante;
}

esito sistema_finto::crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) {
  const std::string chiave = nome(p);
  if (!conta("crea " + chiave)) return simulato;
  if (!c_e_la_cartella_di(chiave)) return mancante;
  if (cartelle.count(chiave)) return esito::fallito("Is a directory");
  file[chiave].clear();
  eseguibili.erase(chiave);
  f = std::make_unique<file_finto>(*this, chiave);
  return esito::riuscito();
}

esito sistema_finto::rinomina(const std::filesystem::path& da, const std::filesystem::path& a) {
  const std::string origine = nome(da), destinazione = nome(a);
  if (!conta("rinomina " + origine + " " + destinazione)) return simulato;
  auto it = file.find(origine);
  if (it == file.end() || !c_e_la_cartella_di(destinazione)) return mancante;
  if (cartelle.count(destinazione)) return esito::fallito("Is a directory");
  std::string contenuto = std::move(it->second);
  file.erase(it);
  file[destinazione] = std::move(contenuto);
  // The mark of a program goes with the file.
  eseguibili.erase(destinazione);
  if (eseguibili.erase(origine)) eseguibili.insert(destinazione);
  return esito::riuscito();
}

esito sistema_finto::rimuovi(const std::filesystem::path& p) {
  if (!conta("rimuovi " + nome(p))) return simulato;
  if (file.erase(nome(p)) == 0) return mancante;
  eseguibili.erase(nome(p));
  return esito::riuscito();
}

esito sistema_finto::leggi(const std::filesystem::path& p, std::string& contenuto) {
  if (!conta("leggi " + nome(p))) return simulato;
  auto it = file.find(nome(p));
  if (it == file.end()) return mancante;
  contenuto = it->second;
  return esito::riuscito();
}

esito sistema_finto::dimensione(const std::filesystem::path& p, uint64_t& byte) {
  if (!conta("dimensione " + nome(p))) return simulato;
  auto it = file.find(nome(p));
  if (it == file.end()) return mancante;
  byte = it->second.size();
  return esito::riuscito();
}

esito sistema_finto::leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti,
                                 std::string& dati) {
  if (!conta("leggi_parte " + nome(p) + " " + std::to_string(inizio) + " " + std::to_string(quanti)))
    return simulato;
  auto it = file.find(nome(p));
  if (it == file.end()) return mancante;
  if (inizio > it->second.size() || quanti > it->second.size() - inizio)
    return esito::fallito("il file è più corto del previsto");
  dati = it->second.substr(static_cast<size_t>(inizio), quanti);
  return esito::riuscito();
}

esito sistema_finto::rendi_eseguibile(const std::filesystem::path& p) {
  if (!conta("eseguibile " + nome(p))) return simulato;
  if (file.count(nome(p)) == 0) return mancante;
  eseguibili.insert(nome(p));
  return esito::riuscito();
}

bool sistema_finto::e_cartella(const std::filesystem::path& p) {
  const std::string chiave = nome(p);
  return chiave.empty() || cartelle.count(chiave) != 0;
}

bool sistema_finto::stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  return nome(a) == nome(b);
}

esito sistema_finto::crea_cartella(const std::filesystem::path& p) {
  const std::string chiave = nome(p);
  if (!conta("crea_cartella " + chiave)) return simulato;
  for (std::string c = chiave; !c.empty(); c = cartella_di(c)) {
    if (file.count(c)) return esito::fallito("File exists");
  }
  for (std::string c = chiave; !c.empty(); c = cartella_di(c)) cartelle.insert(c);
  return esito::riuscito();
}

esito sistema_finto::crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                              std::filesystem::path& creata) {
  const std::filesystem::path p = dentro / (std::string(prefisso) + std::to_string(++temporanee_));
  if (!conta("crea_temporanea " + nome(p))) return simulato;
  if (!e_cartella(dentro)) return mancante;
  cartelle.insert(nome(p));
  creata = p;
  return esito::riuscito();
}

esito sistema_finto::rimuovi_cartella(const std::filesystem::path& p) {
  const std::string chiave = nome(p);
  if (!conta("rimuovi_cartella " + chiave)) return simulato;
  if (chiave.empty() || cartelle.count(chiave) == 0) return mancante;
  std::erase_if(file, [&](const auto& f) { return dentro(f.first, chiave); });
  std::erase_if(cartelle, [&](const std::string& c) { return c == chiave || dentro(c, chiave); });
  return esito::riuscito();
}

std::filesystem::path sistema_finto::nome_file(std::string_view nome_cp1252) {
  const std::string nome = da_cp1252_a_utf8(nome_cp1252);
  return std::filesystem::path(std::u8string(nome.begin(), nome.end()));
}
