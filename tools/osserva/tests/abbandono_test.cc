// A build abandoned through its platform and its console: once shut, the
// writes it had begun leave no temporary file, its finished files stay,
// nothing more of it reaches the disk or the console; the shutting waits
// for an operation under way, but not for ever.
#include "osserva/abbandono.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <ostream>
#include <sstream>
#include <thread>

#include "driver/scrittura_intera.h"
#include "platform/piattaforma_in_memoria.h"

namespace {

using namespace std::chrono_literals;

TEST(piattaforma_abbandonabile, chiusa_toglie_i_file_a_meta_e_non_scrive_piu) {
  piattaforma_in_memoria memoria;
  piattaforma_abbandonabile disco(memoria);
  // A file written whole before: it stays.
  ASSERT_FALSE(scrivi_per_intero(disco, "/memoria/V_linea.dat", "linea"));
  // One temporary file renamed, one still being written, a folder made.
  std::unique_ptr<file_in_scrittura> a, b;
  ASSERT_TRUE(disco.crea("/memoria/V_1.sim.parziale", a));
  ASSERT_TRUE(a->scrivi("testata"));
  ASSERT_TRUE(a->chiudi());
  ASSERT_TRUE(disco.rinomina("/memoria/V_1.sim.parziale", "/memoria/V_1.sim"));
  ASSERT_TRUE(disco.crea("/memoria/V_1.dat.parziale", b));
  ASSERT_TRUE(b->scrivi("mezza griglia"));
  std::filesystem::path lavoro;
  ASSERT_TRUE(disco.crea_cartella_temporanea("/memoria", "lavoro-", lavoro));

  EXPECT_TRUE(disco.chiudi(1s));
  EXPECT_EQ(memoria.file, (std::map<std::string, std::string>{{"V_linea.dat", "linea"}, {"V_1.sim", "testata"}}));
  EXPECT_TRUE(memoria.cartelle.empty());

  // Whatever the build goes on with fails, and changes nothing.
  const auto prima = memoria.file;
  EXPECT_FALSE(b->scrivi("il resto"));
  EXPECT_FALSE(b->chiudi());
  EXPECT_FALSE(disco.rinomina("/memoria/V_1.dat.parziale", "/memoria/V_1.dat"));
  std::unique_ptr<file_in_scrittura> c;
  EXPECT_FALSE(disco.crea("/memoria/V_1.svg.parziale", c));
  EXPECT_FALSE(disco.rimuovi("/memoria/V_linea.dat"));
  EXPECT_FALSE(disco.crea_cartella("/memoria/altra"));
  std::string letto;
  const esito e = disco.leggi("/memoria/V_linea.dat", letto);
  EXPECT_FALSE(e);
  EXPECT_NE(e.motivo.find("interrotto"), std::string::npos);
  auto g = scrivi_per_intero(disco, "/memoria/V_1.svg", "<svg/>");
  EXPECT_TRUE(g);
  EXPECT_EQ(memoria.file, prima);
  EXPECT_TRUE(memoria.cartelle.empty());
}

// A platform whose creation of a file waits until it is let go.
class piattaforma_lenta : public piattaforma_in_memoria {
 public:
  esito crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) override {
    {
      std::unique_lock<std::mutex> l(m);
      dentro = true;
      cambio.notify_all();
      cambio.wait(l, [&] { return via; });
    }
    return piattaforma_in_memoria::crea(p, f);
  }
  void aspetta_dentro() {
    std::unique_lock<std::mutex> l(m);
    cambio.wait(l, [&] { return dentro; });
  }
  void lascia() {
    std::lock_guard<std::mutex> l(m);
    via = true;
    cambio.notify_all();
  }

 private:
  std::mutex m;
  std::condition_variable cambio;
  bool dentro = false, via = false;
};

TEST(piattaforma_abbandonabile, la_chiusura_aspetta_un_operazione_in_corso_ma_non_per_sempre) {
  for (const bool finisce : {true, false}) {
    SCOPED_TRACE(finisce ? "l'operazione finisce" : "l'operazione resta appesa");
    piattaforma_lenta lenta;
    piattaforma_abbandonabile disco(lenta);
    std::unique_ptr<file_in_scrittura> f;
    std::thread costruzione([&] { (void)disco.crea("/memoria/V_1.dat.parziale", f); });
    lenta.aspetta_dentro();
    std::thread liberazione;
    if (finisce)
      liberazione = std::thread([&] {
        std::this_thread::sleep_for(50ms);
        lenta.lascia();
      });
    const auto inizio = std::chrono::steady_clock::now();
    EXPECT_EQ(disco.chiudi(finisce ? 10s : 200ms), finisce);
    const auto durata = std::chrono::steady_clock::now() - inizio;
    EXPECT_LT(durata, finisce ? 5s : 2s);
    if (!finisce) {
      EXPECT_GE(durata, 200ms);
      lenta.lascia();
    }
    costruzione.join();
    if (liberazione.joinable()) liberazione.join();
    // Waited for, the temporary file it made is gone; not waited for, it
    // is left as the message says.
    EXPECT_EQ(lenta.file.count("V_1.dat.parziale"), finisce ? 0u : 1u);
    std::unique_ptr<file_in_scrittura> g;
    EXPECT_FALSE(disco.crea("/memoria/V_1.sim.parziale", g));
  }
}

TEST(console_abbandonabile, dopo_la_chiusura_non_scrive_piu) {
  std::ostringstream sotto;
  console_abbandonabile console(sotto.rdbuf());
  std::ostream o(&console);
  o << "V_1-.txt:3:1: attenzione" << '\n' << 42 << std::endl;
  console.chiudi();
  o << "-- costruzione 2" << std::endl;
  EXPECT_TRUE(o.good());
  EXPECT_EQ(sotto.str(), "V_1-.txt:3:1: attenzione\n42\n");
}

}  // namespace
