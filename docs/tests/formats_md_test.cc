// docs/formats.md kept true where it shows bytes: every annotated hex dump of
// the embedded scenario's files is what a build of scenarios/borvale writes,
// at the offsets the dump gives, and the payload's example is what a package
// program gets appended for that scenario.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "carico/carico.h"
#include "disegno/tests/supporto.h"
#include "parti_marcate.h"
#include "support/cartella_temporanea.h"

namespace {

bool esadecimale(const std::string& t) {
  return t.size() == 2 && std::isxdigit(static_cast<unsigned char>(t[0])) &&
         std::isxdigit(static_cast<unsigned char>(t[1]));
}

// The bytes a dump shows, with the offset each starts at. A line that opens
// with "0x<offset>" starts there; an indented line that opens with a byte
// goes on from where the line before stopped; anything else (a heading, a
// drawing of the fields) shows no byte. On a line, the bytes are the
// two-digit hex pairs and "quoted" texts up to the first other word, which
// begins the comment.
struct byte_mostrati {
  size_t offset;
  std::string byte;
};

std::vector<byte_mostrati> leggi_dump(const std::vector<std::string>& righe) {
  std::vector<byte_mostrati> tratti;
  size_t prossimo = 0;
  for (const std::string& riga : righe) {
    size_t i = 0;
    size_t inizio;
    if (riga.starts_with("0x")) {
      i = riga.find(' ');
      inizio = std::stoul(riga.substr(2, i - 2), nullptr, 16);
    } else if (!riga.empty() && riga[0] == ' ') {
      inizio = prossimo;
    } else {
      continue;
    }
    std::string byte;
    for (;;) {
      while (i < riga.size() && riga[i] == ' ') ++i;
      if (i < riga.size() && riga[i] == '"') {
        const size_t fine = riga.find('"', i + 1);
        byte += riga.substr(i + 1, fine - i - 1);
        i = fine + 1;
        continue;
      }
      const size_t fine = std::min(riga.find(' ', i), riga.size());
      const std::string parola = riga.substr(i, fine - i);
      if (!esadecimale(parola)) break;
      byte += static_cast<char>(std::stoi(parola, nullptr, 16));
      i = fine;
    }
    if (byte.empty()) continue;
    tratti.push_back({inizio, byte});
    prossimo = inizio + byte.size();
  }
  return tratti;
}

std::string esa(const std::string& b) {
  std::string s;
  char c[4];
  for (unsigned char x : b) {
    std::snprintf(c, sizeof c, "%02x ", x);
    s += c;
  }
  return s;
}

TEST(formats_md, i_dump_dei_file_dello_scenario_incorporato_sono_i_byte_che_la_costruzione_scrive) {
  cartella_temporanea cartella;
  const supporto::scenario_di_prova borvale = supporto::scenario_della_cartella("borvale");
  ASSERT_EQ(supporto::costruisci(borvale, cartella.percorso()), "");

  const documento::parti_marcate dump = documento::parti(supporto::leggi(FORMATS_MD), "byte");
  ASSERT_EQ(dump.blocchi.size(), 3u) << "un dump per ognuno dei tre file";
  for (const auto& [nome, blocchi] : dump.blocchi) {
    const std::string file = cartella.leggi(nome);
    ASSERT_FALSE(file.empty()) << nome << " non è un file della costruzione";
    for (const auto& blocco : blocchi) {
      const std::vector<byte_mostrati> tratti = leggi_dump(blocco);
      EXPECT_FALSE(tratti.empty()) << nome << ": un dump senza byte";
      for (const byte_mostrati& t : tratti) {
        ASSERT_LE(t.offset + t.byte.size(), file.size()) << nome << " all'offset " << t.offset;
        EXPECT_EQ(esa(file.substr(t.offset, t.byte.size())), esa(t.byte)) << nome << " all'offset " << t.offset;
      }
    }
  }
}

TEST(formats_md, il_carico_d_esempio_e_quello_che_pack_aggiunge) {
  scenario s;
  s.nome_scenario = "Valle";
  s.numero_treno = "7";
  s.linea = {"[generale]", "[fine]"};
  s.treno = {"[fine]"};
  s.note = {"Citt\xE0"};
  const std::string aggiunto = carico_con_coda(s);

  const documento::parti_marcate dump = documento::parti(supporto::leggi(FORMATS_MD), "carico");
  ASSERT_EQ(dump.blocchi.size(), 1u);
  ASSERT_EQ(dump.blocchi.begin()->second.size(), 1u);
  std::string mostrato;
  for (const byte_mostrati& t : leggi_dump(dump.blocchi.begin()->second.front())) {
    EXPECT_EQ(t.offset, mostrato.size());
    mostrato += t.byte;
  }
  EXPECT_EQ(esa(mostrato), esa(aggiunto));
}

}  // namespace
