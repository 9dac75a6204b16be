// converti_testo: one text of a scenario folder into the Windows-1252 bytes
// the package program carries, for the embedding at build time.
//
//   converti_testo auto|utf-8|windows-1252 INPUT OUTPUT SHOWN
//
// Writes OUTPUT and exits 0; or, for a text that will not convert, writes
// nothing, says "SHOWN:LINE:COLUMN: ..." on standard error and exits 1;
// exits 2 on bad use or a file that cannot be read or written.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "model/testo_autore.h"

namespace {

std::string esadecimale(unsigned char b) {
  static constexpr char cifre[] = "0123456789ABCDEF";
  return {'0', 'x', cifre[b >> 4], cifre[b & 0xF]};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 || !codifica_di_nome(argv[1])) {
    std::cerr << "usage: converti_testo auto|utf-8|windows-1252 INPUT OUTPUT SHOWN\n";
    return 2;
  }
  const codifica_testo richiesta = *codifica_di_nome(argv[1]);
  const std::string ingresso = argv[2], uscita = argv[3], mostrato = argv[4];

  std::ifstream in(ingresso, std::ios::binary);
  if (!in) {
    std::cerr << mostrato << ": cannot be read\n";
    return 2;
  }
  const std::string testo{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

  testo_convertito t = converti_testo_autore(testo, richiesta);
  if (t.errore) {
    const errore_codifica& e = *t.errore;
    std::cerr << mostrato << ":" << e.riga << ":" << e.colonna << ": ";
    if (e.carattere != 0) {
      std::cerr << "the character " << nome_unicode(e.carattere);
      if (e.carattere >= 0xA0) std::cerr << " \"" << carattere_utf8(e.carattere) << "\"";
      std::cerr << " does not exist in Windows-1252, the encoding of the scenario's files\n";
    } else {
      std::cerr << "the byte " << esadecimale(e.byte) << " is not valid UTF-8, and the text is read as UTF-8"
                << (richiesta == codifica_testo::automatica ? " (it starts with the UTF-8 byte-order mark)" : "")
                << "\n";
    }
    return 1;
  }

  std::ofstream out(uscita, std::ios::binary | std::ios::trunc);
  out.write(t.testo.data(), static_cast<std::streamsize>(t.testo.size()));
  out.close();
  if (!out) {
    std::cerr << uscita << ": cannot be written\n";
    return 2;
  }
  return 0;
}
