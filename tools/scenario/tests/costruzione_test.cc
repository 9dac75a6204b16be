// `scenario build` in one process over the in-memory platform: two builds one
// after the other see nothing of each other, and every file and folder
// operation of a build, the working folder's included, made to fail in turn
// ends the command with a report of it, the right exit status, whole files
// only and no working folder left behind.
#include "costruzione.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>

#include "support/file_system_fake.h"

namespace {

std::string righe(std::initializer_list<const char*> testo) {
  std::string s;
  for (const char* r : testo) s += std::string(r) + "\r\n";
  return s;
}

const std::string linea = righe({"[generale]", "lunghezza percorso, 4000", "[pendenze]", "pendenza, 0, 0", "[fine]"});
const std::string treno = righe({"[generale]", "segnale, 900, 2, 3, 1, 0, 0, 0, 0, 0, 0, 230", "[fine]"});
// A signal beyond the grid, on line 3.
const std::string treno_oltre = righe({"[generale]", "numero vetture, 4", "segnale, 20000, 2, 3, 1, 0, 0, 0, 0, 0, 0, 230",
                                       "[fine]"});

struct costruzione_in_memoria : testing::Test {
  sistema_finto sistema;
  richiesta_build richiesta;

  void SetUp() override {
    sistema.file["Prova_linea.txt"] = linea;
    sistema.file["Prova_1-.txt"] = treno;
    richiesta.nome = "Prova";
    richiesta.numero = "1";
    richiesta.cartella_destinazione = "out";
  }

  // The files of the output folder, by name.
  std::map<std::string, std::string> uscita() const {
    std::map<std::string, std::string> f;
    for (const auto& [nome, contenuto] : sistema.file)
      if (nome.starts_with("out/")) f[nome.substr(4)] = contenuto;
    return f;
  }
  // Whether anything of a working folder is left.
  bool resta_lavoro() const {
    for (const std::string& c : sistema.cartelle)
      if (c.find(".scenario-build-") != std::string::npos) return true;
    for (const auto& [nome, contenuto] : sistema.file)
      if (nome.find(".scenario-build-") != std::string::npos) return true;
    return false;
  }
};

TEST_F(costruzione_in_memoria, due_costruzioni_di_seguito_non_si_vedono) {
  sistema.file["Prova_1-.txt"] = treno_oltre;
  const rapporto_build prima = costruisci(sistema, richiesta);
  EXPECT_EQ(prima.stato, uscita_errore);
  EXPECT_EQ(prima.esito.codice_errore, 15);
  ASSERT_NE(prima.esito.errore(), nullptr);
  EXPECT_EQ(prima.sorgenti.di(prima.esito.errore()->dove), "Prova_1-.txt");
  EXPECT_EQ(prima.esito.errore()->dove.riga, 3);
  // The report is the error's line alone.
  std::ostringstream rapporto;
  scrivi_rapporto(prima, false, rapporto);
  const std::string detto = rapporto.str();
  EXPECT_EQ(detto.rfind("Prova_1-.txt:3:10: Errore n. 15 a 20000 m: ", 0), 0u) << detto;
  EXPECT_EQ(std::count(detto.begin(), detto.end(), '\n'), 1) << detto;

  // The same build in a platform of its own, for the bytes to expect.
  sistema_finto altro;
  altro.file["Prova_linea.txt"] = linea;
  altro.file["Prova_1-.txt"] = treno;
  ASSERT_EQ(costruisci(altro, richiesta).stato, uscita_riuscita);

  sistema.file["Prova_1-.txt"] = treno;
  const rapporto_build seconda = costruisci(sistema, richiesta);
  EXPECT_EQ(seconda.stato, uscita_riuscita);
  EXPECT_TRUE(seconda.righe.empty());
  EXPECT_TRUE(seconda.esito.riuscito());
  EXPECT_EQ(seconda.esito.posizione, std::nullopt);
  EXPECT_EQ(seconda.esito.errore(), nullptr);
  EXPECT_EQ(json_rapporto(seconda), json_rapporto(costruisci(altro, richiesta)));
  for (const std::string nome : {"Prova_linea.dat", "Prova_1.sim", "Prova_1.dat"})
    EXPECT_TRUE(sistema.file["out/" + nome] == altro.file["out/" + nome]) << nome;
  EXPECT_FALSE(resta_lavoro());
}

TEST_F(costruzione_in_memoria, ogni_operazione_che_fallisce_e_riportata) {
  const std::map<std::string, std::string> sorgenti = sistema.file;
  sistema_finto pulito = sistema;
  ASSERT_EQ(costruisci(pulito, richiesta).stato, uscita_riuscita);
  const int operazioni = pulito.operazioni;
  std::map<std::string, std::string> completi;
  for (const auto& [nome, contenuto] : pulito.file)
    if (nome.starts_with("out/")) completi[nome.substr(4)] = contenuto;
  ASSERT_EQ(completi.size(), 3u);

  for (int k = 1; k <= operazioni; ++k) {
    sistema_finto s = sistema;
    s.operazione_che_fallisce = k;
    const rapporto_build r = costruisci(s, richiesta);
    const std::string operazione = s.registro.at(static_cast<size_t>(k) - 1);
    SCOPED_TRACE("operazione " + std::to_string(k) + ": " + operazione);

    // The author's sources unreadable: bad use. The build's own copies
    // unreadable or not deletable: a read failure of the build (25). Any
    // other: a failed file operation.
    const bool nel_lavoro = operazione.find(".scenario-build-") != std::string::npos;
    int atteso = uscita_errore_file;
    if (operazione.starts_with("leggi ") && !nel_lavoro) atteso = uscita_uso_errato;
    if ((operazione.starts_with("leggi ") || operazione.starts_with("rimuovi ")) && nel_lavoro)
      atteso = uscita_errore;
    EXPECT_EQ(r.stato, atteso);
    bool nominato = false;
    for (const std::string& riga : r.righe) nominato = nominato || riga.find("errore simulato") != std::string::npos;
    EXPECT_TRUE(nominato) << testing::PrintToString(r.righe);

    EXPECT_TRUE(s.fuori_cartella.empty());
    for (const auto& [nome, contenuto] : sorgenti) EXPECT_EQ(s.file[nome], contenuto) << nome;
    // Only whole binary files reach the output folder: those of the clean
    // build, or, after a read failure, the whole files of that build.
    std::map<std::string, std::string> lasciati;
    for (const auto& [nome, contenuto] : s.file) {
      EXPECT_FALSE(nome.ends_with(".parziale")) << nome;
      if (nome.starts_with("out/") && !nome.starts_with("out/.scenario-build-")) lasciati[nome.substr(4)] = contenuto;
    }
    for (const auto& [nome, contenuto] : lasciati) {
      ASSERT_EQ(completi.count(nome), 1u) << nome;
      if (atteso != uscita_errore) {
        EXPECT_TRUE(contenuto == completi[nome]) << nome;
      }
    }
    EXPECT_EQ(r.file.size(), lasciati.size());
    // The working folder goes, unless its removal is what failed, and then
    // the report says so.
    bool resta = false;
    for (const std::string& c : s.cartelle) resta = resta || c.find(".scenario-build-") != std::string::npos;
    EXPECT_EQ(resta, operazione.starts_with("rimuovi_cartella "));
  }
}

// A warning whose code loses something written is marked where a script
// and the author see it: "loses_content" in the JSON, and counted in the
// summary line; the exit status stays 0 without --werror.
TEST_F(costruzione_in_memoria, gli_avvisi_che_perdono_qualcosa_sono_segnati) {
  sistema.file["Prova_1-.txt"] =
      righe({"[generale]", "numero vetture, 4.5", "rallentamento, 2000, 60, -300, 1, 1, 0", "[fine]"});
  std::ostringstream uscita, errori, riepilogo;
  ASSERT_EQ(comando_build(sistema, richiesta, true, false, uscita, errori, &riepilogo), uscita_riuscita)
      << errori.str();
  const nlohmann::json j = nlohmann::json::parse(uscita.str());
  std::map<std::string, bool> perde;
  for (const nlohmann::json& d : j["diagnostics"]) perde[d["code"].get<std::string>()] = d["loses_content"];
  EXPECT_EQ(perde, (std::map<std::string, bool>{{"numero_arrotondato", false}, {"valore_negativo", true}}))
      << uscita.str();
  EXPECT_TRUE(riepilogo.str().starts_with("scenario build: \"Prova\" 1, 3 file binari scritti in \"out\"; 2 avvisi "
                                          "(1 perde qualcosa di scritto); "))
      << riepilogo.str();
  // Every one of them losing something: said so.
  sistema.file["Prova_1-.txt"] = righe({"[generale]", "rallentamento, 2000, 60, -300, 1, 1, 0", "[fine]"});
  riepilogo.str("");
  ASSERT_EQ(comando_build(sistema, richiesta, false, false, uscita, errori, &riepilogo), uscita_riuscita);
  EXPECT_NE(riepilogo.str().find("; 1 avviso, che perde qualcosa di scritto; "), std::string::npos)
      << riepilogo.str();
}

}  // namespace
