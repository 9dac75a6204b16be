// The package payload: its checksum, its bytes, the end of a program as its
// headers say, and a program file read for its payload, sound or damaged in
// each way the reader tells apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

#include "carico/carico.h"
#include "carico/crc32.h"
#include "carico/immagine_eseguibile.h"
#include "carico/lettura_carico.h"
#include "platform/piattaforma_di_sistema.h"
#include "sources/scenario_incorporato.h"
#include "support/esadecimale.h"
#include "support/programma_finto.h"

namespace {

using stato = programma_letto::stato;

scenario piccolo() {
  scenario s;
  s.nome_scenario = "Ab";
  s.numero_treno = "7";
  s.linea = {"x", ""};
  s.scheda = {"\xE8"};
  return s;
}

programma_letto leggi(std::string_view byte) {
  file_in_memoria f(byte);
  return leggi_programma(f);
}

TEST(crc32, i_valori_di_controllo) {
  EXPECT_EQ(crc32(""), 0u);
  EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(crc32(std::string(1, '\0')), 0xD202EF8Du);
  EXPECT_EQ(crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
}

TEST(carico, i_byte_di_uno_scenario_piccolo) {
  const std::string carico = serializza_carico(piccolo());
  EXPECT_EQ(esadecimale(carico),
            "02 00 00 00 41 62 "                                // "Ab"
            "01 00 00 00 37 "                                   // "7"
            "02 00 00 00 01 00 00 00 78 00 00 00 00 "           // linea: "x", ""
            "00 00 00 00 00 00 00 00 00 00 00 00 "              // treno, note, rallentamenti: none
            "01 00 00 00 01 00 00 00 E8");                      // scheda: one line of one byte
  const std::string coda = serializza_coda(carico);
  EXPECT_EQ(esadecimale(coda), "53 43 45 4E 41 52 49 4F 01 00 00 00 2D 00 00 00 " +
                                   esadecimale(std::string{static_cast<char>(crc32(carico) & 0xFF),
                                                           static_cast<char>(crc32(carico) >> 8 & 0xFF),
                                                           static_cast<char>(crc32(carico) >> 16 & 0xFF),
                                                           static_cast<char>(crc32(carico) >> 24)}));
  EXPECT_EQ(carico_con_coda(piccolo()), carico + coda);
}

TEST(carico, si_rilegge_come_era) {
  for (const scenario& s : {piccolo(), scenario_incorporato(), scenario{}}) {
    const carico_deserializzato d = deserializza_carico(serializza_carico(s));
    ASSERT_TRUE(d.s) << d.problema;
    EXPECT_EQ(d.s->nome_scenario, s.nome_scenario);
    EXPECT_EQ(d.s->numero_treno, s.numero_treno);
    for (const testo_scenario& t : testi_scenario) EXPECT_EQ((*d.s).*t.membro, s.*t.membro) << t.file;
  }
}

TEST(carico, un_contenuto_tagliato_in_ogni_punto_o_allungato_e_rifiutato) {
  const std::string carico = serializza_carico(piccolo());
  for (size_t n = 0; n < carico.size(); ++n) {
    const carico_deserializzato d = deserializza_carico(std::string_view(carico).substr(0, n));
    EXPECT_FALSE(d.s) << n;
    EXPECT_FALSE(d.problema.empty()) << n;
  }
  EXPECT_EQ(deserializza_carico(carico + "x").problema, "1 byte in più dopo la scheda del treno");
  // A count of lines beyond what is left is refused before anything is made.
  std::string enorme = carico.substr(0, 11);
  enorme += std::string("\xFF\xFF\xFF\x7F", 4);
  EXPECT_EQ(deserializza_carico(enorme).problema,
            "il sorgente della linea dichiara 2147483647 righe, oltre la fine del contenuto");
  EXPECT_EQ(deserializza_carico(carico.substr(0, 24)).problema, "il sorgente del treno finisce prima del previsto");
}

TEST(carico, la_coda_si_riconosce_dalla_magia) {
  const std::string coda = serializza_coda("abc");
  const std::optional<coda_carico> c = deserializza_coda(coda);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->versione, 1u);
  EXPECT_EQ(c->lunghezza, 3u);
  EXPECT_EQ(c->crc, crc32("abc"));
  std::string altra = coda;
  altra[0] = 's';
  EXPECT_FALSE(deserializza_coda(altra));
  EXPECT_FALSE(deserializza_coda(coda.substr(1)));
}

// The end of a program from its headers.
TEST(immagine, la_fine_dei_programmi_finti) {
  for (const auto& [nome, byte, fine] :
       {std::tuple{"elf", programma_finto::elf(), programma_finto::fine_elf},
        std::tuple{"pe", programma_finto::pe(), programma_finto::fine_pe}}) {
    SCOPED_TRACE(nome);
    std::string con_coda = byte + "coda";
    file_in_memoria f(con_coda);
    const misura_immagine m = misura_programma(f);
    EXPECT_EQ(m.st, misura_immagine::stato::misurata) << m.problema;
    EXPECT_EQ(m.fine, fine);
    // Cut anywhere inside, the headers reach beyond the file.
    for (uint64_t n : {fine - 1, fine / 2, uint64_t{100}}) {
      file_in_memoria corto(std::string_view(byte).substr(0, n));
      EXPECT_EQ(misura_programma(corto).st, misura_immagine::stato::troncata) << n;
    }
  }
}

TEST(immagine, cio_che_non_e_un_programma) {
  std::string elf32 = programma_finto::elf();
  elf32[4] = 1;
  std::string senza_firma = programma_finto::pe();
  senza_firma[128] = 'X';
  const std::pair<const char*, std::string> casi[] = {
      {"corto", "MZ"},
      {"testo", std::string(200, 'a')},
      {"elf a 32 bit", elf32},
      {"pe senza firma", senza_firma},
  };
  for (const auto& [nome, byte] : casi) {
    file_in_memoria f(byte);
    const misura_immagine m = misura_programma(f);
    EXPECT_EQ(m.st, misura_immagine::stato::non_programma) << nome;
    EXPECT_FALSE(m.problema.empty()) << nome;
  }
}

TEST(immagine, il_programma_di_questo_test_finisce_dove_finisce_il_suo_file) {
  // Whatever the build (symbols, debug sections, sanitizers): a program as
  // linked carries nothing after itself.
  std::ifstream in(piattaforma_di_sistema()->programma_in_esecuzione(), std::ios::binary);
  const std::string byte{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(byte.empty());
  file_in_memoria f(byte);
  const misura_immagine m = misura_programma(f);
  EXPECT_EQ(m.st, misura_immagine::stato::misurata) << m.problema;
  EXPECT_EQ(m.fine, byte.size());
}

// A program file read for its payload.
TEST(lettura_carico, senza_e_con_il_carico) {
  for (const std::string& programma : {programma_finto::elf(), programma_finto::pe()}) {
    const programma_letto senza = leggi(programma);
    EXPECT_EQ(senza.st, stato::senza_carico);
    EXPECT_EQ(senza.fine_programma, programma.size());

    const std::string con = programma + carico_con_coda(piccolo());
    const programma_letto letto = leggi(con);
    ASSERT_EQ(letto.st, stato::con_carico) << letto.problema;
    EXPECT_EQ(letto.fine_programma, programma.size());
    EXPECT_EQ(letto.s->nome_scenario, "Ab");
    EXPECT_EQ(letto.s->scheda, std::vector<std::string>{"\xE8"});
  }
}

TEST(lettura_carico, ogni_danno_e_detto) {
  const std::string programma = programma_finto::elf();
  const std::string carico = serializza_carico(piccolo());
  const std::string intero = programma + carico + serializza_coda(carico);
  // A payload whose bytes are sound but whose scenario breaks the rules.
  scenario lungo = piccolo();
  lungo.note.assign(1001, "x");
  const std::string carico_lungo = serializza_carico(lungo);
  scenario fuori = piccolo();
  fuori.nome_scenario = "../fuori";
  const std::string carico_fuori = serializza_carico(fuori);
  std::string versione_2 = serializza_coda(carico);
  versione_2[8] = 2;
  std::string lunghezza_sbagliata = serializza_coda(carico);
  lunghezza_sbagliata[12] += 1;
  const std::string malformato = carico + "x";

  struct caso {
    const char* nome;
    std::string byte;
    const char* problema;
  };
  const caso casi[] = {
      {"un byte del contenuto cambiato",
       [&] {
         std::string b = intero;
         b[programma.size() + 5] ^= 0x01;
         return b;
       }(),
       "la somma di controllo (CRC-32) del contenuto non corrisponde: il file è stato alterato"},
      {"la coda tagliata di un byte", intero.substr(0, intero.size() - 1),
       "il file non finisce con la coda del contenuto (\"SCENARIO\"): è troncato, o qualcosa è stato aggiunto in "
       "fondo"},
      {"la coda tagliata a metà", intero.substr(0, intero.size() - 10),
       "il file non finisce con la coda del contenuto (\"SCENARIO\"): è troncato, o qualcosa è stato aggiunto in "
       "fondo"},
      {"il file tagliato dentro il contenuto", intero.substr(0, programma.size() + 30),
       "il file non finisce con la coda del contenuto (\"SCENARIO\"): è troncato, o qualcosa è stato aggiunto in "
       "fondo"},
      {"pochi byte dopo il programma", intero.substr(0, programma.size() + 7),
       "dopo il programma ci sono solo 7 byte, meno della coda del contenuto (20 byte): il file è troncato"},
      {"una versione sconosciuta", programma + carico + versione_2,
       "il contenuto è nella versione 2 del formato, questo programma legge la versione 1"},
      {"una lunghezza che non torna", programma + carico + lunghezza_sbagliata,
       "la coda dichiara un contenuto di 46 byte, ma fra il programma e la coda ce ne sono 45 byte: il file è "
       "troncato o alterato"},
      {"un contenuto malformato", programma + malformato + serializza_coda(malformato),
       "contenuto malformato: 1 byte in più dopo la scheda del treno"},
      {"1001 righe", programma + carico_lungo + serializza_coda(carico_lungo),
       "le note ha 1001 righe, al massimo 1000"},
      {"un nome che esce dalla cartella", programma + carico_fuori + serializza_coda(carico_fuori),
       "il nome dello scenario \"../fuori\" contiene un separatore di cartelle: i file finirebbero fuori dalla loro "
       "cartella"},
  };
  for (const caso& c : casi) {
    const programma_letto letto = leggi(c.byte);
    EXPECT_EQ(letto.st, stato::danneggiato) << c.nome;
    EXPECT_EQ(letto.problema, c.problema) << c.nome;
    EXPECT_FALSE(letto.s) << c.nome;
  }
}

TEST(lettura_carico, legge_solo_intestazioni_coda_e_contenuto) {
  // A program of 1 MB: what is read is a few hundred bytes of it.
  std::string programma = programma_finto::elf();
  programma_finto::poni(programma, 64 + 32, 1 << 20, 8);  // the segment now runs to 1 MB
  programma.resize(1 << 20, '\x5A');
  const std::string intero = programma + carico_con_coda(piccolo());

  struct file_contato : file_in_memoria {
    using file_in_memoria::file_in_memoria;
    uint64_t letti = 0;
    esito leggi(uint64_t inizio, size_t quanti, std::string& dati) override {
      letti += quanti;
      return file_in_memoria::leggi(inizio, quanti, dati);
    }
  } f(intero);
  EXPECT_EQ(leggi_programma(f).st, stato::con_carico);
  EXPECT_LT(f.letti, 1000u);
}

TEST(lettura_carico, una_lettura_che_fallisce) {
  const std::string intero = programma_finto::elf() + carico_con_coda(piccolo());
  // Each read in turn fails: the reader says so, and goes no further.
  for (int che_fallisce = 1;; ++che_fallisce) {
    struct file_guasto : file_in_memoria {
      file_guasto(std::string_view b, int n) : file_in_memoria(b), fallisce(n) {}
      int fallisce, letture = 0;
      esito leggi(uint64_t inizio, size_t quanti, std::string& dati) override {
        if (++letture == fallisce) return esito::fallito("errore simulato");
        return file_in_memoria::leggi(inizio, quanti, dati);
      }
    } f(intero, che_fallisce);
    const programma_letto letto = leggi_programma(f);
    if (f.letture < che_fallisce) {
      EXPECT_EQ(letto.st, stato::con_carico);
      EXPECT_GT(che_fallisce, 3);
      break;
    }
    EXPECT_EQ(letto.st, stato::illeggibile) << che_fallisce;
    EXPECT_NE(letto.problema.find("errore simulato"), std::string::npos) << letto.problema;
  }
}

TEST(lettura_carico, un_contenuto_oltre_il_massimo_non_si_legge) {
  // A program followed by 500 MiB of payload and a trailer that says so: a
  // file read by ranges, of which only the program and the trailer are held.
  struct file_rado : file_a_intervalli {
    std::string programma, coda;
    uint64_t carico = 0;
    uint64_t massimo_chiesto = 0;
    uint64_t dimensione() const override { return programma.size() + carico + coda.size(); }
    esito leggi(uint64_t inizio, size_t quanti, std::string& dati) override {
      massimo_chiesto = std::max<uint64_t>(massimo_chiesto, quanti);
      dati.clear();
      for (uint64_t i = inizio; i < inizio + quanti; ++i) {
        if (i < programma.size()) dati += programma[i];
        else if (i >= programma.size() + carico) dati += coda[i - programma.size() - carico];
        else dati += '\0';
      }
      return esito::riuscito();
    }
  } f;
  f.programma = programma_finto::elf();
  f.carico = uint64_t{500} << 20;
  f.coda = serializza_coda("");
  for (int i = 0; i < 4; ++i) f.coda[12 + i] = static_cast<char>((f.carico >> (8 * i)) & 0xFF);
  const programma_letto letto = leggi_programma(f);
  EXPECT_EQ(letto.st, stato::danneggiato);
  EXPECT_EQ(letto.problema, "la coda dichiara un contenuto di 524288000 byte, più dei 469762048 byte che un pacchetto "
                            "può portare");
  EXPECT_LT(f.massimo_chiesto, 1000u);
}

}  // namespace
