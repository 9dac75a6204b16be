// The embedded scenario end to end: the whole run of the package program, on
// an in-memory folder and as a real process in a folder of its own, down to
// the bytes the simulator checks; and the same program carrying a payload,
// sound or damaged, as a process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "carico/carico.h"
#include "driver/form1.h"
#include "model/nomi_file.h"
#include "sources/cartella_scenario.h"
#include "sources/scenario_incorporato.h"
#include "support/file_system_fake.h"
#include "support/cartella_temporanea.h"
#include "support/processo.h"

namespace {

namespace fs = std::filesystem;
using cartella = std::map<std::string, std::string>;

const std::string base = "Borvale PF_Borvale PR";
const nomi_file nomi = nomi_dei_file(base, "31758");
const std::string linea_dat = nomi.file_linea;
const std::string sim = nomi.file_sim;
const std::string dat = nomi.file_dat;
const std::vector<std::string> lasciati = nomi.lasciati();
const std::set<std::string> sei_file(lasciati.begin(), lasciati.end());

// Codes of the key "31758borvale pf_borvale p".
constexpr int32_t codice_semplice = 2243;
constexpr int32_t codice_pesato = 31043;

int32_t leggi_integer(const std::string& b, size_t o) {
  return static_cast<int16_t>(static_cast<uint8_t>(b.at(o)) | static_cast<uint8_t>(b.at(o + 1)) << 8);
}
int32_t leggi_long(const std::string& b, size_t o) {
  uint32_t u = 0;
  for (size_t i = 0; i < 4; ++i) u |= static_cast<uint32_t>(static_cast<uint8_t>(b.at(o + i))) << (8 * i);
  return static_cast<int32_t>(u);
}
// Where record r of a .sim image starts: each record is 34 bytes and its name.
size_t inizio_voce(const std::string& b, int r) {
  size_t o = 0;
  for (int i = 0; i < r; ++i) o += 34 + static_cast<uint16_t>(leggi_integer(b, o + 14));
  return o;
}

void controlla_scenario(const cartella& file) {
  std::set<std::string> nomi;
  for (const auto& [nome, contenuto] : file) nomi.insert(nome);
  ASSERT_EQ(nomi, sei_file);

  EXPECT_EQ(file.at(linea_dat).size(), 219964u);

  const std::string& d = file.at(dat);
  ASSERT_EQ(d.size(), 3315u);
  EXPECT_EQ(leggi_integer(d, 15 + 1), 5121);
  EXPECT_EQ(leggi_integer(d, 15 + 3), codice_semplice);
  EXPECT_EQ(d.substr(285, 10), std::string("\x01\x1E\x00\x0A\x00\x00\x00\x06\x00\xE6", 10));

  const std::string& s = file.at(sim);
  const size_t r85 = inizio_voce(s, 85);
  const size_t n = base.size();
  EXPECT_EQ(leggi_integer(s, r85 + 14), static_cast<int32_t>(n));
  EXPECT_EQ(s.substr(r85 + 16, n), base);
  EXPECT_EQ(leggi_integer(s, r85 + 16 + n), 610);
  EXPECT_EQ(leggi_long(s, r85 + 30 + n), codice_pesato);
  EXPECT_EQ(inizio_voce(s, 87), s.size());
}

TEST(pacchetto, in_memoria) {
  sistema_finto sistema;
  EXPECT_EQ(esegui_pacchetto(sistema, scenario_incorporato()), 0);
  controlla_scenario(sistema.file);
  EXPECT_TRUE(sistema.messaggi.empty());
  EXPECT_EQ(sistema.attese, 1);

  // A second run over the first one's files gives the same bytes.
  const cartella prima = sistema.file;
  EXPECT_EQ(esegui_pacchetto(sistema, scenario_incorporato()), 0);
  EXPECT_TRUE(sistema.file == prima);
}

// A folder of its own under the system's temporary folder, removed at the end.
class cartella_del_test {
 public:
  cartella_del_test() {
    percorso_ = fs::temp_directory_path() / ("pacchetto-" + std::to_string(::getpid()));
    fs::remove_all(percorso_);
    fs::create_directories(percorso_);
  }
  ~cartella_del_test() {
    std::error_code e;
    fs::remove_all(percorso_, e);
  }
  const fs::path& percorso() const { return percorso_; }

  // Every file of the folder but `tranne`.
  cartella contenuto(const std::string& tranne) const {
    cartella file;
    for (const auto& voce : fs::directory_iterator(percorso_)) {
      const std::string nome = voce.path().filename().string();
      if (nome == tranne) continue;
      std::ifstream in(voce.path(), std::ios::binary);
      file[nome].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return file;
  }

 private:
  fs::path percorso_;
};

// Runs the program from the root folder, so it must find its own folder
// itself; its exit status, or -1.
int esegui(const fs::path& programma) { return esegui_processo(programma.string(), {}, "/").stato; }

TEST(pacchetto, come_processo) {
  cartella_del_test c;
  const fs::path eseguibile = fs::path(SCENARIO_PACKAGE_EXE);
  const fs::path copia = c.percorso() / eseguibile.filename();
  fs::copy_file(eseguibile, copia);
  const std::string nome_copia = copia.filename().string();

  ASSERT_EQ(esegui(copia), 0);
  const cartella prima = c.contenuto(nome_copia);
  controlla_scenario(prima);

  ASSERT_EQ(esegui(copia), 0);
  EXPECT_TRUE(c.contenuto(nome_copia) == prima);
}

// A scenario folder of scenarios/, read as `scenario pack` reads it.
scenario dalla_cartella(const std::string& nome) {
  std::array<std::string, 7> byte;
  for (size_t i = 0; i < byte.size(); ++i) {
    std::ifstream in(fs::path(SCENARI_DIR) / nome / file_cartella_scenario[i], std::ios::binary);
    byte[i].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  cartella_letta letta = leggi_cartella_scenario(byte, codifica_testo::automatica);
  return std::move(*letta.s);
}

// Every file of `c`, by name.
cartella file_di(const cartella_temporanea& c) {
  cartella file;
  for (const auto& voce : fs::directory_iterator(c.percorso())) {
    const std::string nome = voce.path().filename().string();
    file[nome] = c.leggi(nome);
  }
  return file;
}

std::string leggi_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(pacchetto_con_carico, scrive_i_sei_file_del_programma_compilato_per_quello_scenario) {
  cartella_temporanea compilato, con_carico;
  ASSERT_EQ(esegui_in_cartella(SCENARIO_PACKAGE_VALDIGRANO_EXE, compilato.percorso()).stato, 0);

  // The generic program with valdigrano appended.
  const fs::path programma = con_carico / "valdigrano";
  {
    std::ofstream out(programma, std::ios::binary);
    out << leggi_file(SCENARIO_PACKAGE_EXE) << carico_con_coda(dalla_cartella("valdigrano"));
  }
  fs::permissions(programma, fs::perms::owner_all);
  const esito_processo e = esegui_processo(programma.string(), {}, "/");
  EXPECT_EQ(e.stato, 0) << e.errori;
  fs::remove(programma);
  const cartella attesi = file_di(compilato);
  EXPECT_EQ(attesi.size(), 6u);
  EXPECT_TRUE(file_di(con_carico) == attesi);
}

TEST(pacchetto_con_carico, un_carico_danneggiato_lascia_la_cartella_vuota) {
  const std::string stub = leggi_file(SCENARIO_PACKAGE_EXE);
  const std::string intero = stub + carico_con_coda(dalla_cartella("valdigrano"));
  scenario lungo = dalla_cartella("valdigrano");
  lungo.note.assign(1001, "x");
  struct caso {
    const char* nome;
    std::string byte;
  };
  const caso casi[] = {
      {"un byte del contenuto cambiato",
       [&] {
         std::string b = intero;
         b[stub.size() + 200] ^= 0x04;
         return b;
       }()},
      {"la coda tagliata", intero.substr(0, intero.size() - 5)},
      {"il file tagliato dentro il contenuto", intero.substr(0, stub.size() + 1000)},
      {"1001 righe", stub + carico_con_coda(lungo)},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    cartella_temporanea cartella;
    const fs::path programma = cartella / "pacchetto";
    std::ofstream(programma, std::ios::binary) << c.byte;
    fs::permissions(programma, fs::perms::owner_all);
    const esito_processo e = esegui_processo(programma.string(), {}, "/");
    EXPECT_EQ(e.stato, 1);
    EXPECT_TRUE(e.errori.starts_with("Pacchetto danneggiato: ")) << e.errori;
    EXPECT_EQ(e.errori.find("Attendere"), std::string::npos) << e.errori;
    fs::remove(programma);
    EXPECT_TRUE(file_di(cartella).empty());
  }
}

}  // namespace
