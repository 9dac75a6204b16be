// Each command's options and run: the glue between the command line and the
// command's unit (costruzione.h, ispezione.h, disegno/, osserva/, impacchetta.h,
// spacchetta.h, nuovo.h, spiegazione.h).
#include "comandi.h"

#include <algorithm>
#include <charconv>
#include <iostream>

#include "costruzione.h"
#include "spiegazione.h"
#include "disegno/comando_disegno.h"
#include "impacchetta.h"
#include "ispezione.h"
#include "nuovo.h"
#include "osserva/comando_osserva.h"
#include "riga_di_comando.h"
#include "spacchetta.h"
#include "terminale.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> codifiche_lette = {"auto", "utf-8", "windows-1252"};

// The checks of option values, in the author's language (CLI11's own are in
// English).
CLI::Validator tra(std::vector<std::string> valori) {
  std::string elenco;
  for (const std::string& v : valori) elenco += (elenco.empty() ? "" : ", ") + v;
  return CLI::Validator(
      [valori, elenco](std::string& v) -> std::string {
        if (std::find(valori.begin(), valori.end(), v) != valori.end()) return {};
        return "\"" + v + "\" non è tra i valori ammessi (" + elenco + ")";
      },
      "");
}
CLI::Validator da_a(long minimo, long massimo) {
  return CLI::Validator(
      [minimo, massimo](std::string& v) -> std::string {
        long n = 0;
        const auto [fine, errore] = std::from_chars(v.data(), v.data() + v.size(), n);
        if (errore != std::errc() || fine != v.data() + v.size() || n < minimo || n > massimo)
          return "\"" + v + "\" non è un numero intero da " + std::to_string(minimo) + " a " +
                 std::to_string(massimo);
        return {};
      },
      "");
}

// --quiet of the commands that write files: no line on success.
void opzione_silenzio(CLI::App& c, bool& silenzio) {
  c.add_flag("-q,--quiet", silenzio, "Nessuna riga di riepilogo quando il comando riesce");
}

// The options of every command that builds a scenario: its folder, or its
// two names and two source texts; into the request once the line is read.
class opzioni_build {
 public:
  void aggiungi(CLI::App& c) {
    cartella_ = opzione_percorso(&c, "DIR", cartella_scelta_,
                                 "La cartella dello scenario: i nomi da nome_scenario.txt e numero_treno.txt, i "
                                 "sorgenti linea.txt e treno.txt, e tutti e sette i file controllati come fa pack");
    nome_ = c.add_option("--name", q_.nome, "Il nome dello scenario (nome_scenario), senza DIR");
    numero_ = c.add_option("--number", q_.numero, "Il numero del treno (numero_treno), senza DIR");
    linea_ = opzione_percorso(&c, "--line", percorso_linea_,
                              "Il sorgente della linea, senza DIR (predefinito: NOME_linea.txt)");
    treno_ = opzione_percorso(&c, "--train", percorso_treno_,
                              "Il sorgente del treno, senza DIR (predefinito: NOME_NUMERO-.txt)");
    for (CLI::Option* o : {nome_, numero_, linea_, treno_}) cartella_->excludes(o);
    opzione_percorso(&c, "--out", q_.cartella_destinazione,
                     "La cartella dove scrivere i file binari, creata se manca (predefinita: la cartella corrente)");
    c.add_option("--encoding", codifica_,
                 "Come sono scritti i testi: auto (UTF-8 se un testo comincia con il segno di ordine dei byte, o "
                 "se è UTF-8 valido con almeno una lettera accentata o un altro carattere non ASCII; altrimenti "
                 "Windows-1252), utf-8, windows-1252. L'UTF-8 è convertito in Windows-1252; un carattere che "
                 "Windows-1252 non ha è un errore d'uso, indicato come FILE:RIGA:COLONNA (predefinito: auto)")
        ->check(tra(codifiche_lette));
    c.add_flag("--show-line", mostra_riga_,
               "Mostra la riga del sorgente sotto ogni errore o avviso, con un segno sotto la colonna (lo fa "
               "comunque quando lo standard error è un terminale; mai con --json)");
  }

  // The request as the command line gave it; an error for the line, when
  // neither a folder nor both names were given.
  std::optional<std::string> richiesta(richiesta_build& q) {
    if (cartella_->count() > 0) {
      q_.cartella = cartella_scelta_;
    } else if (nome_->count() == 0 || numero_->count() == 0) {
      return std::string("manca la cartella dello scenario (DIR), o --name e --number");
    }
    if (linea_->count() > 0) q_.linea = percorso_linea_;
    if (treno_->count() > 0) q_.treno = percorso_treno_;
    q_.codifica = *codifica_di_nome(codifica_);
    q = q_;
    return std::nullopt;
  }
  bool mostra_riga() const { return mostra_riga_ || errori_su_terminale(); }
  richiesta_build& q() { return q_; }

 private:
  richiesta_build q_;
  std::string codifica_ = "auto";
  fs::path cartella_scelta_, percorso_linea_, percorso_treno_;
  CLI::Option* cartella_ = nullptr;
  CLI::Option* nome_ = nullptr;
  CLI::Option* numero_ = nullptr;
  CLI::Option* linea_ = nullptr;
  CLI::Option* treno_ = nullptr;
  bool mostra_riga_ = false;
};

// A command line that names neither a folder nor both names: bad use.
int uso_errato(const std::string& nome, const std::string& motivo) {
  std::cerr << "scenario: " << motivo << "\n(scenario " << nome << " --help per l'uso)\n";
  return uscita_uso_errato;
}

class build : public comando {
 public:
  void opzioni(CLI::App& c) override {
    o_.aggiungi(c);
    c.add_flag("--no-line-file", o_.q().senza_linea, "Non costruisce e non scrive il file della linea NOME_linea.dat");
    c.add_flag("--json", json_,
               "Scrive l'esito come un oggetto JSON sullo standard output (non per un errore d'uso)");
    c.add_flag("--werror", o_.q().avvisi_come_errori,
               "Tratta gli avvisi come errori: ogni avviso rende lo stato d'uscita 1 (i file sono scritti come "
               "senza)");
    opzione_silenzio(c, silenzio_);
  }
  int esegui(piattaforma& sistema) override {
    richiesta_build q;
    if (auto e = o_.richiesta(q)) return uso_errato("build", *e);
    return comando_build(sistema, q, json_, o_.mostra_riga(), std::cout, std::cerr, silenzio_ ? nullptr : &std::cerr);
  }

 private:
  opzioni_build o_;
  bool json_ = false;
  bool silenzio_ = false;
};

class inspect : public comando {
 public:
  void opzioni(CLI::App& c) override {
    opzione_percorso(&c, "FILE", q_.file, "Il file da decodificare")->required();
    c.add_flag("--json", q_.json, "Scrive il contenuto come un oggetto JSON");
    c.add_flag("--all", q_.tutti, "File della linea: ogni metro, non un campione");
    c.add_option("--step", q_.passo, "File della linea: un metro ogni STEP (predefinito: 100)")
        ->check(da_a(1, 2147483647));
  }
  int esegui(piattaforma& sistema) override { return comando_inspect(sistema, q_, std::cout, std::cerr); }

 private:
  richiesta_ispezione q_;
};

class draw : public comando {
 public:
  void opzioni(CLI::App& c) override {
    c.add_option("--name", q_.nome, "Il nome dello scenario (nome_scenario)")->required();
    c.add_option("--number", q_.numero, "Il numero del treno (numero_treno)")->required();
    opzione_percorso(&c, "--dir", q_.cartella, "La cartella dei file binari (predefinita: la cartella corrente)");
    disegno_ = opzione_percorso(&c, "--out", percorso_disegno_, "Il file SVG (predefinito: DIR/NOME_NUMERO.svg)");
  }
  int esegui(piattaforma& sistema) override {
    if (disegno_->count() > 0) q_.file_disegno = percorso_disegno_;
    return comando_draw(sistema, q_, std::cerr);
  }

 private:
  richiesta_disegno q_;
  fs::path percorso_disegno_;
  CLI::Option* disegno_ = nullptr;
};

class watch : public comando {
 public:
  void opzioni(CLI::App& c) override {
    o_.aggiungi(c);
    c.add_option("--port", porta_, "La porta su 127.0.0.1 (predefinita: una libera)")->check(da_a(1, 65535));
  }
  int esegui(piattaforma& sistema) override {
    richiesta_osserva q;
    if (auto e = o_.richiesta(q.build)) return uso_errato("watch", *e);
    q.porta = porta_;
    return comando_watch(sistema, q, o_.mostra_riga(), std::cout, std::cerr);
  }

 private:
  opzioni_build o_;
  int porta_ = 0;
};

class pack : public comando {
 public:
  void opzioni(CLI::App& c) override {
    opzione_percorso(&c, "DIR", q_.cartella, "La cartella dello scenario")->required();
    windows_ = opzione_percorso(&c, "--windows", percorso_windows_, "Scrive solo il programma per Windows, come FILE.exe");
    linux_ = opzione_percorso(&c, "--linux", percorso_linux_,
                              "Scrive solo il programma per Linux, come FILE (con le due opzioni: tutti e due)");
    c.add_option("--encoding", codifica_,
                 "Come sono scritti i file della cartella: auto, utf-8, windows-1252, come per build (predefinito: "
                 "auto)")
        ->check(tra(codifiche_lette));
    c.add_flag("--werror", q_.avvisi_come_errori,
               "Tratta gli avvisi della costruzione come errori: ogni avviso rifiuta l'impacchettamento");
    c.add_flag("--force", q_.forza,
               "Impacchetta anche quando la costruzione dà un errore o un avviso che perde qualcosa di scritto, e "
               "lo dice");
    opzione_silenzio(c, silenzio_);
  }
  int esegui(piattaforma& sistema) override {
    if (windows_->count() > 0) q_.windows = percorso_windows_;
    if (linux_->count() > 0) q_.linux_ = percorso_linux_;
    q_.codifica = *codifica_di_nome(codifica_);
    return comando_pack(sistema, q_, std::cerr, silenzio_ ? nullptr : &std::cerr);
  }

 private:
  richiesta_pack q_;
  bool silenzio_ = false;
  std::string codifica_ = "auto";
  fs::path percorso_windows_, percorso_linux_;
  CLI::Option* windows_ = nullptr;
  CLI::Option* linux_ = nullptr;
};

// --encoding of the commands that write a folder; `predefinita` is what
// they write without it.
void opzione_scrittura(CLI::App& c, std::string& scrittura, std::string_view predefinita) {
  c.add_option("--encoding", scrittura,
               "Come scrivere i sette file: utf-8, come li salvano oggi gli editor, o windows-1252, come li tiene il "
               "programma e come sono i file del simulatore (predefinito: " +
                   std::string(predefinita) + "); build e pack leggono tutte e due")
      ->check(tra({"utf-8", "windows-1252"}));
}

class unpack : public comando {
 public:
  void opzioni(CLI::App& c) override {
    opzione_percorso(&c, "PROGRAM", programma_, "Il programma fatto da pack")->required();
    opzione_percorso(&c, "DIR", cartella_, "La cartella da scrivere; non deve contenere già i file di uno scenario")
        ->required();
    opzione_scrittura(c, scrittura_, "windows-1252");
    opzione_silenzio(c, silenzio_);
  }
  int esegui(piattaforma& sistema) override {
    return comando_unpack(sistema, programma_, cartella_, *codifica_di_nome(scrittura_), std::cerr,
                          silenzio_ ? nullptr : &std::cerr);
  }

 private:
  fs::path programma_, cartella_;
  std::string scrittura_ = "windows-1252";
  bool silenzio_ = false;
};

class nuovo : public comando {
 public:
  void opzioni(CLI::App& c) override {
    opzione_percorso(&c, "DIR", cartella_, "La cartella da scrivere; non deve contenere già i file di uno scenario")
        ->required();
    opzione_scrittura(c, scrittura_, "utf-8");
    opzione_silenzio(c, silenzio_);
  }
  int esegui(piattaforma& sistema) override {
    return comando_new(sistema, cartella_, *codifica_di_nome(scrittura_), std::cerr, silenzio_ ? nullptr : &std::cerr);
  }

 private:
  fs::path cartella_;
  // Today's editors save UTF-8; windows-1252 on request.
  std::string scrittura_ = "utf-8";
  bool silenzio_ = false;
};

class explain : public comando {
 public:
  void opzioni(CLI::App& c) override {
    c.add_option("CODE", codice_, "Il numero di un errore (15, E15) o il codice di un avviso")->required();
  }
  int esegui(piattaforma&) override { return comando_explain(codice_, std::cout, std::cerr); }

 private:
  std::string codice_;
};

template <class C>
std::unique_ptr<comando> crea() {
  return std::make_unique<C>();
}

}  // namespace

const std::vector<voce_comando>& comandi() {
  static const std::vector<voce_comando> tabella = {
      {"build",
       "Costruisce NOME_linea.dat, NOME_NUMERO.sim e NOME_NUMERO.dat nella cartella di uscita, dalla cartella "
       "dello scenario DIR o dai due sorgenti di --name e --number. Gli avvisi (quello che la costruzione scarta "
       "o piega nei sorgenti) vanno sullo standard error come FILE:RIGA:COLONNA: attenzione: ... e non cambiano "
       "lo stato d'uscita senza --werror. Stato d'uscita: 0 nessun errore, 1 errore della costruzione (o un "
       "avviso con --werror), 2 errore d'uso (nulla scritto), 3 un'operazione sui file non riuscita.",
       crea<build>},
      {"inspect",
       "Decodifica un file binario, scelto dal nome: *_linea.dat (coordinate), *.sim (voci di testata), *.dat "
       "(griglia del percorso). Stato d'uscita: 0 decodificato, 1 file non valido, 2 errore d'uso.",
       crea<inspect>},
      {"draw",
       "Disegna i file binari di una costruzione (non i sorgenti) in un SVG: la pianta del tracciato con "
       "stazioni, segnali, cartelli, indicatori di velocità e rallentamenti, e il profilo di pendenza, velocità "
       "della linea, tratti di montagna e aderenza. Senza NOME_linea.dat, il profilo da solo. Stato d'uscita: 0 "
       "disegnato, 1 un file binario mancante o non valido (nulla scritto), 2 errore d'uso, 3 l'SVG non si è "
       "potuto scrivere.",
       crea<draw>},
      {"watch",
       "Costruisce come build, disegna come draw, e serve su 127.0.0.1 una pagina con il disegno e l'esito; "
       "costruisce di nuovo a ogni salvataggio di un file, e la pagina segue. Ctrl-C lo chiude. Stato d'uscita: 0 "
       "chiuso, 2 errore d'uso, 3 la pagina non si è potuta servire.",
       crea<watch>},
      {"pack",
       "Impacchetta la cartella dello scenario DIR (sette file, come in scenarios/NOME) in programmi che non "
       "hanno bisogno di un compilatore: NOME_NUMERO.exe per Windows e NOME_NUMERO per Linux nella cartella "
       "corrente, o quelli chiesti. Prima costruisce lo scenario: un errore, o un avviso che dice che qualcosa "
       "di scritto va perso, rifiuta l'impacchettamento. Stato d'uscita: 0 scritto, 1 errore della costruzione, "
       "avviso che perde qualcosa o, con --werror, un avviso qualsiasi (nulla scritto senza --force), 2 errore "
       "d'uso o una cartella che viola una regola (nulla scritto), 3 un'operazione sui file non riuscita o uno "
       "stub mancante.",
       crea<pack>},
      {"unpack",
       "Riscrive la cartella dello scenario DIR (creata se manca) da un programma fatto da pack, per Windows o "
       "per Linux. Stato d'uscita: 0 scritto, 1 un programma senza scenario o danneggiato, 2 errore d'uso (nulla "
       "scritto), 3 un'operazione sui file non riuscita.",
       crea<unpack>},
      {"new",
       "Scrive una cartella di scenario iniziale DIR (creata se manca): uno scenario piccolo e completo con ogni "
       "tipo di elemento, da modificare, costruire e impacchettare. Stato d'uscita: 0 scritto, 2 errore d'uso "
       "(nulla scritto), 3 un'operazione sui file non riuscita.",
       crea<nuovo>},
      {"explain",
       "Spiega un errore o un avviso: il suo paragrafo del riferimento dei sorgenti, per il numero di un errore "
       "(15 o E15) o il codice di un avviso (chiave_sconosciuta). Stato d'uscita: 0 spiegato, 2 un codice che non "
       "c'è.",
       crea<explain>},
  };
  return tabella;
}
