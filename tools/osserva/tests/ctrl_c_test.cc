// Ctrl-C ends the watch at once in the middle of a build that would not
// end: run in a child process, whose build hangs reading the train's text
// and which then gets SIGINT as from a terminal. It ends with status 0, says
// so, and its folder holds only the sources. POSIX.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

#include "osserva/abbandono.h"
#include "osserva/comando_osserva.h"
#include "platform/piattaforma_di_sistema.h"
#include "support/cartella_temporanea.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;

// The system's platform, on which reading the train's text never ends: a
// hung file system, or a build as long as any.
class lettura_appesa : public piattaforma_abbandonabile {
 public:
  using piattaforma_abbandonabile::piattaforma_abbandonabile;
  esito leggi(const fs::path& p, std::string& contenuto) override {
    if (p.filename() == "V_1-.txt") {
      ::raise(SIGINT);
      for (;;) std::this_thread::sleep_for(1s);
    }
    return piattaforma_abbandonabile::leggi(p, contenuto);
  }
};

void avvia_watch_appeso(const fs::path& cartella) {
  // Bounded even if the watch did not end.
  std::thread([] {
    std::this_thread::sleep_for(20s);
    std::_Exit(97);
  }).detach();
  fs::current_path(cartella);
  const std::unique_ptr<piattaforma> sistema = piattaforma_di_sistema(cartella);
  lettura_appesa appesa(*sistema);
  richiesta_osserva q;
  q.build.nome = "V";
  q.build.numero = "1";
  std::exit(comando_watch(appesa, q, false, std::cout, std::cerr) == 0 ? 98 : 99);
}

TEST(ctrl_c, finisce_subito_nel_mezzo_di_una_costruzione) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  cartella_temporanea dir;
  const fs::path c = fs::path(SCENARI_DIR) / "valdigrano";
  fs::copy_file(c / "linea.txt", dir / "V_linea.txt");
  fs::copy_file(c / "treno.txt", dir / "V_1-.txt");
  const auto inizio = std::chrono::steady_clock::now();
  EXPECT_EXIT(avvia_watch_appeso(dir.percorso()), testing::ExitedWithCode(0),
              "scenario watch: fine, a costruzione interrotta\n$");
  EXPECT_LT(std::chrono::steady_clock::now() - inizio, 10s);
  std::vector<std::string> rimasti;
  for (const auto& f : fs::directory_iterator(dir.percorso())) rimasti.push_back(f.path().filename().string());
  std::sort(rimasti.begin(), rimasti.end());
  EXPECT_EQ(rimasti, (std::vector<std::string>{"V_1-.txt", "V_linea.txt"}));
}

}  // namespace
