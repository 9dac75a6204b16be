// incorpora_scenario: one scenario folder into the C++ source that defines
// the scenario a package program carries (sources/scenario_incorporato.h),
// at build time.
//
//   incorpora_scenario FOLDER OUTPUT.cc SHOWN [FUNCTION]
//
// Reads the folder's seven files as `scenario pack` does
// (sources/cartella_scenario.h): each in Windows-1252 or UTF-8, converted,
// and held to the same rules. Writes OUTPUT.cc, whose function FUNCTION
// (default scenario_incorporato) gives the scenario, and beside it, in
// testi/, each file as converted to Windows-1252, for the check of the
// program (cmake/prova_pacchetto.cmake). A folder that breaks a rule: nothing
// written, "SHOWN/FILE:LINE:COLUMN: ..." on standard error, exit status 1.
// Bad use, or a file that cannot be read or written: exit status 2.
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "diagnosi/riga_gnu.h"
#include "sources/cartella_scenario.h"

namespace {

namespace fs = std::filesystem;

// `b` inside a C++ string literal: printable ASCII as itself, any other byte
// (and " and \) as a three-digit octal escape, which never takes in the
// character after it.
std::string letterale(std::string_view b) {
  std::string s = "\"";
  for (unsigned char c : b) {
    if (c >= 32 && c < 127 && c != '"' && c != '\\') {
      s += static_cast<char>(c);
    } else {
      s += '\\';
      s += static_cast<char>('0' + (c >> 6));
      s += static_cast<char>('0' + ((c >> 3) & 7));
      s += static_cast<char>('0' + (c & 7));
    }
  }
  return s + "\"s";
}

std::string sorgente(const scenario& s, const std::string& mostrato, const std::string& funzione) {
  std::string cc = "// Generated from " + mostrato + " by cmake/incorpora_scenario; edit the\n";
  cc += "// scenario folder, not this file.\n";
  cc += funzione == "scenario_incorporato" ? "#include \"sources/scenario_incorporato.h\"\n\n"
                                           : "#include \"sources/scenario.h\"\n\nscenario " + funzione + "();\n\n";
  cc += "using namespace std::string_literals;\n\n";
  cc += "scenario " + funzione + "() {\n  scenario s;\n";
  cc += "  s.nome_scenario = " + letterale(s.nome_scenario) + ";\n";
  cc += "  s.numero_treno = " + letterale(s.numero_treno) + ";\n";
  static constexpr std::array<const char*, 5> membri = {"linea", "treno", "note", "rallentamenti", "scheda"};
  for (size_t t = 0; t < testi_scenario.size(); ++t) {
    const std::vector<std::string>& righe = s.*testi_scenario[t].membro;
    cc += "\n  // " + std::string(testi_scenario[t].file) + ", " + std::to_string(righe.size()) + " lines.\n";
    cc += std::string("  s.") + membri[t] + " = {\n";
    for (const std::string& riga : righe) cc += "      " + letterale(riga) + ",\n";
    cc += "  };\n";
  }
  return cc + "  return s;\n}\n";
}

bool leggi(const fs::path& p, std::string& contenuto) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  contenuto.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool scrivi(const fs::path& p, const std::string& contenuto) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << contenuto;
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::cerr << "uso: incorpora_scenario CARTELLA USCITA.cc MOSTRATA [FUNZIONE]\n";
    return 2;
  }
  const fs::path cartella = argv[1], uscita = argv[2];
  const std::string mostrata = argv[3], funzione = argc == 5 ? argv[4] : "scenario_incorporato";

  std::array<std::string, 7> byte;
  for (size_t i = 0; i < byte.size(); ++i) {
    const fs::path p = cartella / file_cartella_scenario[i];
    if (!fs::is_regular_file(p)) {
      std::cerr << mostrata << "/" << file_cartella_scenario[i]
                << ": manca; una cartella di scenario contiene linea.txt, treno.txt, note.txt, rallentamenti.txt, "
                   "scheda_treno.txt, nome_scenario.txt e numero_treno.txt\n";
      return 1;
    }
    if (!leggi(p, byte[i])) {
      std::cerr << p.string() << ": impossibile leggerlo\n";
      return 2;
    }
  }
  const cartella_letta letta = leggi_cartella_scenario(byte, codifica_testo::automatica);
  // Each as the author tool names it, at its file of the folder.
  for (const diagnostica& d : letta.diagnostiche) std::cerr << riga_gnu(d, mostrata + "/" + d.dove.file) << "\n";
  if (!letta.s) return 1;

  const fs::path testi = uscita.parent_path() / "testi";
  std::error_code ec;
  fs::create_directories(testi, ec);
  for (size_t i = 0; i < byte.size(); ++i) {
    if (!scrivi(testi / file_cartella_scenario[i], letta.convertiti[i])) {
      std::cerr << (testi / file_cartella_scenario[i]).string() << ": impossibile scriverlo\n";
      return 2;
    }
  }
  if (!scrivi(uscita, sorgente(*letta.s, mostrata, funzione))) {
    std::cerr << uscita.string() << ": impossibile scriverlo\n";
    return 2;
  }
  return 0;
}
