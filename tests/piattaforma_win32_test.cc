// The Windows side of the platform seam, run on Windows or under Wine: file
// names from Windows-1252, wide paths, the file operations and the system's
// reasons for their failures, the wait window's measures, the message box's
// parameters, and a whole run on disk against the same run in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "driver/form1.h"
#include "driver/scrittura_intera.h"
#include "sources/scenario_incorporato.h"
#include "model/windows1252.h"
#include "platform/win32/piattaforma_win32.h"
#include "support/file_system_fake.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder whose name holds characters beyond Windows-1252, removed
// with its content at the end.
class cartella_larga {
 public:
  cartella_larga() {
    std::random_device caso;
    do {
      percorso_ = fs::temp_directory_path() / (L"scenario-\u03a9\u65e5\u672c-" + std::to_wstring(caso()));
    } while (!fs::create_directory(percorso_));
  }
  ~cartella_larga() {
    std::error_code ec;
    fs::remove_all(percorso_, ec);
  }
  const fs::path& percorso() const { return percorso_; }
  fs::path operator/(const std::wstring& nome) const { return percorso_ / nome; }

 private:
  fs::path percorso_;
};

std::string leggi_tutto(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void scrivi_tutto(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

std::vector<std::wstring> nomi_in(const fs::path& cartella) {
  std::vector<std::wstring> nomi;
  for (const auto& voce : fs::directory_iterator(cartella)) nomi.push_back(voce.path().filename().wstring());
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

// Records every message box instead of showing it.
struct box_registrato {
  struct chiamata {
    HWND proprietario;
    std::wstring testo;
    bool con_titolo;
    UINT tipo;
  };
  std::vector<chiamata> chiamate;
  piattaforma_win32::mostra_box funzione() {
    return [this](HWND h, const wchar_t* testo, const wchar_t* titolo, UINT tipo) {
      chiamate.push_back({h, testo, titolo != nullptr, tipo});
      return IDOK;
    };
  }
};

TEST(nome_file_win32, ogni_byte_di_windows_1252_come_nelle_altre_piattaforme) {
  piattaforma_win32 sistema({}, box_registrato().funzione());
  for (int b = 1; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(sistema.nome_file(byte).wstring(), da_utf8_a_wide(da_cp1252_a_utf8(byte)));
  }
  EXPECT_EQ(sistema.nome_file("Borvale PF_Borvale PR_31758-.txt").wstring(), L"Borvale PF_Borvale PR_31758-.txt");
  EXPECT_EQ(sistema.nome_file("citt\xe0 \x80.txt").wstring(), L"citt\u00e0 \u20ac.txt");
}

TEST(testo_win32, utf8_e_wide_andata_e_ritorno) {
  const std::string utf8 = "Citt\xc3\xa0 \xe2\x82\xac \xce\xa9 \xe6\x97\xa5 \xf0\x9f\x98\x80";
  const std::wstring wide = L"Citt\u00e0 \u20ac \u03a9 \u65e5 \U0001F600";
  EXPECT_EQ(da_utf8_a_wide(utf8), wide);
  EXPECT_EQ(da_wide_a_utf8(wide), utf8);
  EXPECT_EQ(da_utf8_a_wide(""), L"");
  EXPECT_EQ(da_wide_a_utf8(L""), "");
  // Bytes that are not UTF-8 do not vanish.
  EXPECT_EQ(da_utf8_a_wide("a\xff" "b"), L"a\ufffdb");
}

TEST(testo_win32, motivo_del_sistema_senza_a_capo) {
  const std::string motivo = testo_errore_win32(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(motivo.empty());
  EXPECT_EQ(motivo.find_first_of("\r\n"), std::string::npos) << motivo;
  EXPECT_NE(motivo.back(), ' ');
  EXPECT_NE(testo_errore_win32(ERROR_ACCESS_DENIED), motivo);
  EXPECT_EQ(testo_errore_win32(0x2fffffffu), "errore di sistema 805306367");
}

TEST(cartella_win32, quella_dell_eseguibile_non_quella_corrente) {
  cartella_larga altrove;
  const fs::path prima = fs::current_path();
  fs::current_path(altrove.percorso());
  piattaforma_win32 sistema({}, box_registrato().funzione());
  fs::current_path(prima);
  const fs::path cartella = sistema.cartella_programma();
  EXPECT_TRUE(cartella.is_absolute()) << cartella;
  EXPECT_NE(cartella, altrove.percorso());
  EXPECT_TRUE(fs::exists(cartella / L"scenario_tests.exe")) << cartella;

  piattaforma_win32 data(altrove.percorso(), box_registrato().funzione());
  EXPECT_EQ(data.cartella_programma(), altrove.percorso());
}

struct FileWin32 : testing::Test {
  cartella_larga cartella;
  box_registrato box;
  piattaforma_win32 sistema{cartella.percorso(), box.funzione()};

  // A file written whole, through a new temporary file (crea) renamed over
  // its name.
  esito scrivi(const fs::path& p, std::string_view contenuto) {
    if (auto g = scrivi_per_intero(sistema, p, contenuto)) return esito::fallito(g->motivo);
    return esito::riuscito();
  }
};

TEST_F(FileWin32, crea_scrive_legge_sostituisce_e_rimuove) {
  const fs::path a = cartella / L"a \u00e8.dat";
  const fs::path b = cartella / L"b.dat";
  EXPECT_FALSE(sistema.esiste(a));
  // Every byte value, CR LF and NUL included, goes through untouched.
  std::string tutti;
  for (int i = 0; i < 256; ++i) tutti += static_cast<char>(i);
  tutti += "\r\n\n\r";
  ASSERT_TRUE(scrivi(a, tutti));
  EXPECT_TRUE(sistema.esiste(a));
  EXPECT_EQ(leggi_tutto(a), tutti);
  std::string letto;
  ASSERT_TRUE(sistema.leggi(a, letto));
  EXPECT_EQ(letto, tutti);
  EXPECT_TRUE(sistema.apri_e_chiudi(a));
  EXPECT_EQ(leggi_tutto(a), tutti);

  // Written again over a longer file, it holds the new bytes only.
  ASSERT_TRUE(scrivi(a, "corto"));
  EXPECT_EQ(leggi_tutto(a), "corto");

  // Renaming replaces an existing, longer file whole.
  scrivi_tutto(b, std::string(10000, 'x'));
  ASSERT_TRUE(sistema.rinomina(a, b));
  EXPECT_FALSE(sistema.esiste(a));
  EXPECT_EQ(leggi_tutto(b), "corto");

  ASSERT_TRUE(sistema.rimuovi(b));
  EXPECT_FALSE(sistema.esiste(b));
  EXPECT_TRUE(nomi_in(cartella.percorso()).empty());
}

TEST_F(FileWin32, un_file_vuoto_e_un_file_grande) {
  const fs::path p = cartella / L"f.dat";
  ASSERT_TRUE(scrivi(p, ""));
  std::string letto = "resto";
  ASSERT_TRUE(sistema.leggi(p, letto));
  EXPECT_EQ(letto, "");
  EXPECT_EQ(fs::file_size(p), 0u);

  // Larger than one read block.
  std::string grande(200000, '\0');
  for (size_t i = 0; i < grande.size(); ++i) grande[i] = static_cast<char>(i * 7 + i / 251);
  ASSERT_TRUE(scrivi(p, grande));
  ASSERT_TRUE(sistema.leggi(p, letto));
  EXPECT_EQ(letto, grande);
}

TEST_F(FileWin32, dimensione_parti_e_programma) {
  const fs::path p = cartella / L"f \u00e8.bin";
  std::string tutti;
  for (int i = 0; i < 70000; ++i) tutti += static_cast<char>(i * 31 + i / 256);
  ASSERT_TRUE(scrivi(p, tutti));
  uint64_t n = 0;
  ASSERT_TRUE(sistema.dimensione(p, n));
  EXPECT_EQ(n, tutti.size());
  std::string parte;
  ASSERT_TRUE(sistema.leggi_parte(p, 65530, 100, parte));
  EXPECT_EQ(parte, tutti.substr(65530, 100));
  const esito oltre = sistema.leggi_parte(p, tutti.size() - 10, 11, parte);
  EXPECT_FALSE(oltre.ok);
  EXPECT_EQ(oltre.motivo, "il file è più corto del previsto");
  EXPECT_FALSE(sistema.leggi_parte(cartella / L"manca", 0, 1, parte).ok);
  EXPECT_FALSE(sistema.dimensione(cartella / L"manca", n).ok);
  EXPECT_FALSE(sistema.dimensione(cartella.percorso(), n).ok);
  // Nothing marks a program on Windows: always done.
  EXPECT_TRUE(sistema.rendi_eseguibile(p));
  EXPECT_EQ(sistema.programma_in_esecuzione().filename(), fs::path(L"scenario_tests.exe"));
  EXPECT_EQ(sistema.programma_in_esecuzione().parent_path(), piattaforma_win32({}, box.funzione()).cartella_programma());
}

TEST_F(FileWin32, cartelle_create_temporanee_e_rimosse) {
  const fs::path sotto = cartella / L"uno \u00e8" / L"due";
  EXPECT_FALSE(sistema.e_cartella(sotto));
  ASSERT_TRUE(sistema.crea_cartella(sotto));
  EXPECT_TRUE(sistema.e_cartella(sotto));
  EXPECT_TRUE(sistema.crea_cartella(sotto));  // already there

  fs::path t1, t2;
  ASSERT_TRUE(sistema.crea_cartella_temporanea(sotto, ".prova-", t1));
  ASSERT_TRUE(sistema.crea_cartella_temporanea(sotto, ".prova-", t2));
  EXPECT_NE(t1, t2);
  EXPECT_EQ(t1.parent_path(), sotto);
  EXPECT_EQ(t1.filename().wstring().rfind(L".prova-", 0), 0u);
  ASSERT_TRUE(scrivi(t1 / L"f.dat", "x"));
  ASSERT_TRUE(sistema.crea_cartella(t1 / L"dentro"));
  ASSERT_TRUE(sistema.rimuovi_cartella(t1));
  EXPECT_FALSE(sistema.esiste(t1));
  EXPECT_TRUE(sistema.e_cartella(t2));

  // A file where a folder should go, or above one.
  scrivi_tutto(cartella / L"file", "x");
  EXPECT_FALSE(sistema.crea_cartella(cartella / L"file").ok);
  EXPECT_FALSE(sistema.crea_cartella(cartella / L"file" / L"sotto").ok);
  EXPECT_FALSE(sistema.e_cartella(cartella / L"file"));
  fs::path t;
  EXPECT_FALSE(sistema.crea_cartella_temporanea(cartella / L"manca", ".prova-", t).ok);

  // Two names of one file.
  EXPECT_TRUE(sistema.stesso_file(cartella / L"file", sotto / L".." / L".." / L"file"));
  EXPECT_FALSE(sistema.stesso_file(cartella / L"file", t2));
  EXPECT_TRUE(sistema.stesso_file(cartella / L"manca", sotto / L".." / L".." / L"manca"));
}

TEST_F(FileWin32, ogni_operazione_che_fallisce_dice_il_motivo_del_sistema) {
  const fs::path manca = cartella / L"manca.dat";
  const fs::path dir = cartella / L"una cartella";
  const fs::path c = cartella / L"c.dat";
  fs::create_directory(dir);
  scrivi_tutto(c, "c");
  std::unique_ptr<file_in_scrittura> f;
  std::string letto;
  struct caso {
    const char* nome;
    esito risultato;
    DWORD errore;
  };
  const caso casi[] = {
      {"apri un file che manca", sistema.apri_e_chiudi(manca), ERROR_FILE_NOT_FOUND},
      {"apri una cartella", sistema.apri_e_chiudi(dir), ERROR_ACCESS_DENIED},
      {"crea in una cartella che manca", sistema.crea(cartella / L"no" / L"x.dat", f), ERROR_PATH_NOT_FOUND},
      {"crea su una cartella", sistema.crea(dir, f), ERROR_ACCESS_DENIED},
      {"rinomina un file che manca", sistema.rinomina(manca, c), ERROR_FILE_NOT_FOUND},
      {"rinomina su una cartella", sistema.rinomina(c, dir), ERROR_ACCESS_DENIED},
      {"rimuovi un file che manca", sistema.rimuovi(manca), ERROR_FILE_NOT_FOUND},
      {"leggi un file che manca", sistema.leggi(manca, letto), ERROR_FILE_NOT_FOUND},
  };
  for (const caso& k : casi) {
    SCOPED_TRACE(k.nome);
    EXPECT_FALSE(k.risultato.ok);
    EXPECT_EQ(k.risultato.motivo, testo_errore_win32(k.errore));
  }
  EXPECT_EQ(f, nullptr);
  EXPECT_EQ(leggi_tutto(c), "c");
  EXPECT_TRUE(fs::is_directory(dir));
}

TEST_F(FileWin32, crea_solo_un_file_nuovo) {
  const fs::path c = cartella / L"c \u00e8.dat";
  const fs::path dir = cartella / L"una cartella";
  scrivi_tutto(c, "vecchio");
  fs::create_directory(dir);
  for (const fs::path& p : {c, dir}) {
    SCOPED_TRACE(p.string());
    std::unique_ptr<file_in_scrittura> f;
    const esito e = sistema.crea(p, f);
    EXPECT_FALSE(e.ok);
    EXPECT_TRUE(e.nome_occupato);
    EXPECT_EQ(f, nullptr);
  }
  EXPECT_EQ(leggi_tutto(c), "vecchio");
  // A leftover under the temporary name is passed over, and stays.
  scrivi_tutto(cartella / L"a.dat.parziale", "avanzo");
  ASSERT_TRUE(scrivi(cartella / L"a.dat", "nuovo"));
  EXPECT_EQ(leggi_tutto(cartella / L"a.dat"), "nuovo");
  EXPECT_EQ(leggi_tutto(cartella / L"a.dat.parziale"), "avanzo");
  EXPECT_EQ(nomi_in(cartella.percorso()), (std::vector<std::wstring>{L"a.dat", L"a.dat.parziale", L"c \u00e8.dat",
                                                                     L"una cartella"}));
}

// Links where a write puts its temporary file and its final file, where the
// system lets a test make them.
TEST_F(FileWin32, una_scrittura_non_passa_mai_per_un_collegamento) {
  cartella_larga fuori;
  const fs::path bersaglio = fuori / L"bersaglio";
  scrivi_tutto(bersaglio, "da non toccare");
  const DWORD senza_privilegi = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
  auto collega = [&](const fs::path& nome, const fs::path& verso) {
    return CreateSymbolicLinkW(nome.c_str(), verso.c_str(), senza_privilegi) != 0;
  };
  // Wine 8 answers success and makes nothing.
  if (!collega(cartella / L"a.dat.parziale", bersaglio) ||
      GetFileAttributesW((cartella / L"a.dat.parziale").c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "links cannot be made here";
  ASSERT_TRUE(collega(cartella / L"b.dat", bersaglio));
  ASSERT_TRUE(collega(cartella / L"c.dat", fuori / L"manca"));
  EXPECT_TRUE(sistema.e_collegamento(cartella / L"a.dat.parziale"));
  EXPECT_TRUE(sistema.e_collegamento(cartella / L"c.dat"));
  EXPECT_FALSE(sistema.e_collegamento(bersaglio));

  for (const wchar_t* nome : {L"a.dat", L"b.dat", L"c.dat"}) {
    SCOPED_TRACE(da_wide_a_utf8(nome));
    ASSERT_TRUE(scrivi(cartella / nome, "nuovo"));
    EXPECT_FALSE(sistema.e_collegamento(cartella / nome));
    EXPECT_EQ(leggi_tutto(cartella / nome), "nuovo");
  }
  EXPECT_EQ(leggi_tutto(bersaglio), "da non toccare");
  EXPECT_FALSE(fs::exists(fuori / L"manca"));
  EXPECT_TRUE(sistema.e_collegamento(cartella / L"a.dat.parziale"));
}

TEST_F(FileWin32, si_leggono_solo_file_ordinari_e_non_troppo_grandi) {
  const fs::path grande = cartella / L"grande";
  scrivi_tutto(grande, "");
  fs::resize_file(grande, massimo_lettura + 1);
  std::string letto = "prima";
  const esito e = sistema.leggi(grande, letto);
  EXPECT_FALSE(e.ok);
  EXPECT_EQ(e.motivo, "il file è troppo grande: 67108865 byte, al massimo 67108864 (64 MiB)");
  std::string parte;
  ASSERT_TRUE(sistema.leggi_parte(grande, massimo_lettura, 1, parte));
  EXPECT_EQ(parte, std::string(1, '\0'));
  // A device never ends: refused, not read.
  const esito nul = sistema.leggi(L"NUL", letto);
  EXPECT_FALSE(nul.ok);
  EXPECT_EQ(nul.motivo, "non è un file ordinario ma un dispositivo");
}

TEST_F(FileWin32, stato_di_un_file_in_una_chiamata) {
  const fs::path f = cartella / L"f \u00e8";
  scrivi_tutto(f, "dodici byte!");
  stato_di_file s, d;
  ASSERT_TRUE(sistema.stato_file(f, s));
  EXPECT_TRUE(s.regolare);
  EXPECT_EQ(s.dimensione, 12u);
  ASSERT_TRUE(sistema.stato_file(cartella.percorso(), d));
  EXPECT_FALSE(d.regolare);
  EXPECT_FALSE(sistema.stato_file(cartella / L"manca", d).ok);
  fs::last_write_time(f, fs::last_write_time(f) - std::chrono::seconds(10));
  stato_di_file prima;
  ASSERT_TRUE(sistema.stato_file(f, prima));
  EXPECT_LT(prima.modificato, s.modificato);
}

TEST(messaggio_win32, i_caratteri_di_controllo_si_vedono_escapati) {
  box_registrato box;
  piattaforma_win32 sistema({}, box.funzione());
  sistema.messaggio("Scenario non valido: \x1b]0;preso\x07\xC2\x9B");
  ASSERT_EQ(box.chiamate.size(), 1u);
  EXPECT_EQ(box.chiamate[0].testo, L"Scenario non valido: \\x1b]0;preso\\x07\\x9b");
}

TEST(messaggio_win32, modale_solo_ok_senza_icona_e_senza_titolo) {
  box_registrato box;
  piattaforma_win32 sistema({}, box.funzione());
  sistema.messaggio(" Errore n. 1250");
  sistema.messaggio("Impossibile creare il file \"C:\\citt\xc3\xa0\\\xe6\x97\xa5.txt\": Accesso negato.");
  ASSERT_EQ(box.chiamate.size(), 2u);
  EXPECT_EQ(box.chiamate[0].testo, L" Errore n. 1250");
  EXPECT_EQ(box.chiamate[1].testo, L"Impossibile creare il file \"C:\\citt\u00e0\\\u65e5.txt\": Accesso negato.");
  for (const auto& c : box.chiamate) {
    EXPECT_EQ(c.proprietario, nullptr);
    EXPECT_FALSE(c.con_titolo);
    EXPECT_EQ(c.tipo, static_cast<UINT>(MB_OK));
  }
}

// Pixels of a measure in twips at the screen's resolution.
int pixel(int twips, int indice_dpi) {
  HDC schermo = GetDC(nullptr);
  int dpi = GetDeviceCaps(schermo, indice_dpi);
  ReleaseDC(nullptr, schermo);
  return MulDiv(twips, dpi, 1440);
}

TEST(attesa_win32, finestra_ed_etichetta_nelle_misure_date) {
  box_registrato box;
  piattaforma_win32 sistema({}, box.funzione());
  sistema.mostra_attesa();
  HWND finestra = sistema.finestra_attesa();
  if (!finestra) GTEST_SKIP() << "no display to create windows on";
  HWND etichetta = sistema.etichetta_attesa();
  ASSERT_NE(etichetta, nullptr);

  // At 96 dots an inch: 280 x 179, the label at 64, 64, 177 x 53.
  RECT area;
  GetClientRect(finestra, &area);
  EXPECT_EQ(area.right - area.left, pixel(4200, LOGPIXELSX));
  EXPECT_EQ(area.bottom - area.top, pixel(2688, LOGPIXELSY));
  RECT posto;
  GetWindowRect(etichetta, &posto);
  MapWindowPoints(nullptr, finestra, reinterpret_cast<POINT*>(&posto), 2);
  EXPECT_EQ(posto.left, pixel(960, LOGPIXELSX));
  EXPECT_EQ(posto.top, pixel(960, LOGPIXELSY));
  EXPECT_EQ(posto.right - posto.left, pixel(2652, LOGPIXELSX));
  EXPECT_EQ(posto.bottom - posto.top, pixel(792, LOGPIXELSY));

  wchar_t testo[32] = {};
  GetWindowTextW(etichetta, testo, 32);
  EXPECT_STREQ(testo, L"Attendere");
  LOGFONTW carattere{};
  HFONT f = reinterpret_cast<HFONT>(SendMessageW(etichetta, WM_GETFONT, 0, 0));
  ASSERT_NE(f, nullptr);
  ASSERT_NE(GetObjectW(f, sizeof carattere, &carattere), 0);
  EXPECT_STREQ(carattere.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(carattere.lfHeight, -pixel(24 * 20, LOGPIXELSY));  // 24 pt: 480 twips
  EXPECT_EQ(carattere.lfWeight, 700);
  EXPECT_FALSE(carattere.lfItalic);
  EXPECT_FALSE(carattere.lfUnderline);

  // Shown, top-level without an owner, and nothing else in it.
  EXPECT_TRUE(IsWindowVisible(finestra));
  EXPECT_EQ(GetWindow(finestra, GW_OWNER), nullptr);
  EXPECT_EQ(GetParent(finestra), nullptr);
  EXPECT_EQ(GetMenu(finestra), nullptr);
  EXPECT_EQ(GetWindow(etichetta, GW_HWNDNEXT), nullptr);
  EXPECT_EQ(GetWindow(finestra, GW_CHILD), etichetta);

  // Shown once: a second call leaves the same window.
  sistema.mostra_attesa();
  EXPECT_EQ(sistema.finestra_attesa(), finestra);
  EXPECT_TRUE(box.chiamate.empty());
}

// The same run through the in-memory platform and on disk: the same files
// with the same bytes, the same end, and nothing else left in the folder.
TEST(pacchetto_win32, su_disco_come_in_memoria) {
  sistema_finto memoria;
  const int stato_memoria = esegui_pacchetto(memoria, scenario_incorporato());

  cartella_larga cartella;
  box_registrato box;
  piattaforma_win32 disco(cartella.percorso(), box.funzione());
  EXPECT_EQ(esegui_pacchetto(disco, scenario_incorporato()), stato_memoria);

  std::vector<std::wstring> attesi;
  for (const auto& [nome, contenuto] : memoria.file) {
    const std::wstring largo = da_utf8_a_wide(nome);
    attesi.push_back(largo);
    EXPECT_EQ(leggi_tutto(cartella / largo), contenuto) << nome;
  }
  std::sort(attesi.begin(), attesi.end());
  EXPECT_EQ(nomi_in(cartella.percorso()), attesi);
  ASSERT_EQ(box.chiamate.size(), memoria.messaggi.size());
  for (size_t i = 0; i < box.chiamate.size(); ++i)
    EXPECT_EQ(box.chiamate[i].testo, da_utf8_a_wide(memoria.messaggi[i]));
}

TEST(pacchetto_win32, un_file_che_non_si_puo_sostituire_ferma_il_programma) {
  cartella_larga cartella;
  // A folder with the name of the notes, the third file of the start-up.
  const std::wstring note = L"Borvale PF_Borvale PR_31758_note.txt";
  fs::create_directory(cartella / note);
  box_registrato box;
  piattaforma_win32 disco(cartella.percorso(), box.funzione());
  EXPECT_EQ(esegui_pacchetto(disco, scenario_incorporato()), 1);

  ASSERT_EQ(box.chiamate.size(), 1u);
  const std::wstring& testo = box.chiamate[0].testo;
  EXPECT_NE(testo.find((cartella / note).wstring()), std::wstring::npos) << da_wide_a_utf8(testo);
  EXPECT_NE(testo.find(da_utf8_a_wide(testo_errore_win32(ERROR_ACCESS_DENIED))), std::wstring::npos)
      << da_wide_a_utf8(testo);
  // The two files written before stay; nothing partial is left.
  EXPECT_EQ(nomi_in(cartella.percorso()),
            (std::vector<std::wstring>{L"Borvale PF_Borvale PR_31758-.txt", note, L"Borvale PF_Borvale PR_linea.txt"}));
  EXPECT_TRUE(fs::is_directory(cartella / note));
}

}  // namespace
