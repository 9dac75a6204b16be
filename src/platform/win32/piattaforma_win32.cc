// The platform seam on Windows. Paths are wide throughout, so a program
// folder whose name holds characters beyond Windows-1252 still works; system
// errors become words through FormatMessageW, in UTF-8 like every message.
#include "platform/win32/piattaforma_win32.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "model/testo_mostrabile.h"
#include "platform/piattaforma_di_sistema.h"

namespace {

// The one place where a Windows error number becomes an `esito`.
esito errore_win32(DWORD numero) {
  if (numero == ERROR_FILE_NOT_FOUND || numero == ERROR_PATH_NOT_FOUND) return esito::manca(testo_errore_win32(numero));
  return esito::fallito(testo_errore_win32(numero));
}
esito errore_win32() { return errore_win32(GetLastError()); }

class file_win32 : public file_in_scrittura {
 public:
  explicit file_win32(HANDLE h) : h_(h) {}
  ~file_win32() override {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  esito scrivi(std::string_view dati) override {
    while (!dati.empty()) {
      DWORD da_scrivere = static_cast<DWORD>(std::min<size_t>(dati.size(), 1u << 30));
      DWORD scritti = 0;
      if (!WriteFile(h_, dati.data(), da_scrivere, &scritti, nullptr)) return errore_win32();
      if (scritti == 0) return errore_win32(ERROR_WRITE_FAULT);
      dati.remove_prefix(scritti);
    }
    return esito::riuscito();
  }
  esito chiudi() override {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(h)) return errore_win32();
    return esito::riuscito();
  }

 private:
  HANDLE h_;
};

// Opens a plain file for reading, through a link if it is one; a handle to
// anything else (a pipe, a console, a device) is closed and refused, so that
// a read never waits on it. The size goes into `dimensione`.
esito apri_ordinario(const std::filesystem::path& p, HANDLE& h, uint64_t& dimensione) {
  h = CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return errore_win32();
  const DWORD tipo = GetFileType(h);
  LARGE_INTEGER n;
  esito e = esito::riuscito();
  if (tipo != FILE_TYPE_DISK)
    e = esito::fallito(std::string("non è un file ordinario ma ") +
                       (tipo == FILE_TYPE_PIPE ? "una pipe" : tipo == FILE_TYPE_CHAR ? "un dispositivo" : "un file speciale"));
  else if (!GetFileSizeEx(h, &n))
    e = errore_win32();
  if (!e) {
    CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
    return e;
  }
  dimensione = static_cast<uint64_t>(n.QuadPart);
  return e;
}

esito troppo_grande(uint64_t byte) {
  return esito::fallito("il file è troppo grande: " + std::to_string(byte) + " byte, al massimo " +
                        std::to_string(massimo_lettura) + " (64 MiB)");
}

// The running program's file; empty when the system cannot say.
std::filesystem::path file_dell_eseguibile() {
  // GetModuleFileNameW truncates silently: grow the buffer until it fits.
  std::vector<wchar_t> nome(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, nome.data(), static_cast<DWORD>(nome.size()));
    if (n == 0) return {};
    if (n < nome.size()) return std::filesystem::path(std::wstring(nome.data(), n));
    nome.resize(nome.size() * 2);
  }
}

std::filesystem::path cartella_dell_eseguibile() {
  const std::filesystem::path file = file_dell_eseguibile();
  return file.empty() ? std::filesystem::current_path() : file.parent_path();
}

// Twips to pixels at the screen's resolution, rounded to the nearest pixel.
int in_pixel(int twips, int punti_per_pollice) { return MulDiv(twips, punti_per_pollice, 1440); }

const wchar_t classe_attesa[] = L"scenario_package_attesa";

LRESULT CALLBACK procedura_attesa(HWND h, UINT msg, WPARAM w, LPARAM l) {
  // The window has no user to answer: closing it is not offered.
  if (msg == WM_CLOSE) return 0;
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace

std::wstring da_utf8_a_wide(std::string_view testo) {
  if (testo.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), w.data(), n);
  return w;
}

std::string da_wide_a_utf8(std::wstring_view testo) {
  if (testo.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string testo_errore_win32(DWORD numero) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, numero, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring testo(buffer ? buffer : L"", n);
  LocalFree(buffer);
  while (!testo.empty() && (testo.back() == L'\r' || testo.back() == L'\n' || testo.back() == L' '))
    testo.pop_back();
  if (testo.empty()) return "errore di sistema " + std::to_string(numero);
  return da_wide_a_utf8(testo);
}

piattaforma_win32::piattaforma_win32(std::filesystem::path cartella, mostra_box box)
    : cartella_(std::move(cartella)), box_(std::move(box)) {
  if (cartella_.empty()) cartella_ = cartella_dell_eseguibile();
  if (!box_) box_ = MessageBoxW;
}

piattaforma_win32::~piattaforma_win32() {
  if (finestra_) DestroyWindow(finestra_);
  if (carattere_) DeleteObject(carattere_);
}

std::filesystem::path piattaforma_win32::cartella_programma() { return cartella_; }

std::filesystem::path piattaforma_win32::programma_in_esecuzione() { return file_dell_eseguibile(); }

bool piattaforma_win32::esiste(const std::filesystem::path& p) {
  return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool piattaforma_win32::e_collegamento(const std::filesystem::path& p) {
  const DWORD attributi = GetFileAttributesW(p.c_str());
  if (attributi == INVALID_FILE_ATTRIBUTES || (attributi & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return false;
  // A link or a junction; other reparse points (a file kept in the cloud
  // until it is opened) are files like any other.
  WIN32_FIND_DATAW dati;
  HANDLE h = FindFirstFileW(p.c_str(), &dati);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  return dati.dwReserved0 == IO_REPARSE_TAG_SYMLINK || dati.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT;
}

esito piattaforma_win32::apri_e_chiudi(const std::filesystem::path& p) {
  // The name itself, a reparse point not followed.
  HANDLE h = CreateFileW(p.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return errore_win32();
  CloseHandle(h);
  return esito::riuscito();
}

esito piattaforma_win32::crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) {
  // A new file only: never an existing one, never through a reparse point
  // under the name.
  HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD errore = GetLastError();
    const DWORD attributi = GetFileAttributesW(p.c_str());
    // A folder cannot be written as a file: its name is taken, and the words
    // are those of a file opened over a folder.
    if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_DIRECTORY) != 0)
      return esito::occupato(testo_errore_win32(ERROR_ACCESS_DENIED));
    if (errore == ERROR_FILE_EXISTS || errore == ERROR_ALREADY_EXISTS || attributi != INVALID_FILE_ATTRIBUTES)
      return esito::occupato(testo_errore_win32(errore));
    return errore_win32(errore);
  }
  f = std::make_unique<file_win32>(h);
  return esito::riuscito();
}

esito piattaforma_win32::rinomina(const std::filesystem::path& da, const std::filesystem::path& a) {
  if (!MoveFileExW(da.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING)) return errore_win32();
  return esito::riuscito();
}

esito piattaforma_win32::rimuovi(const std::filesystem::path& p) {
  if (!DeleteFileW(p.c_str())) return errore_win32();
  return esito::riuscito();
}

esito piattaforma_win32::leggi(const std::filesystem::path& p, std::string& contenuto) {
  HANDLE h = INVALID_HANDLE_VALUE;
  uint64_t dimensione = 0;
  if (esito e = apri_ordinario(p, h, dimensione); !e) return e;
  contenuto.clear();
  if (dimensione > massimo_lettura) {
    CloseHandle(h);
    return troppo_grande(dimensione);
  }
  contenuto.reserve(static_cast<size_t>(dimensione));
  char blocco[65536];
  for (;;) {
    DWORD letti = 0;
    if (!ReadFile(h, blocco, sizeof blocco, &letti, nullptr)) {
      DWORD e = GetLastError();
      CloseHandle(h);
      contenuto.clear();
      return errore_win32(e);
    }
    if (letti == 0) break;
    contenuto.append(blocco, letti);
    // A file that grows while it is read is held to the same limit.
    if (contenuto.size() > massimo_lettura) {
      CloseHandle(h);
      contenuto.clear();
      return troppo_grande(massimo_lettura + 1);
    }
  }
  CloseHandle(h);
  return esito::riuscito();
}

esito piattaforma_win32::dimensione(const std::filesystem::path& p, uint64_t& byte) {
  WIN32_FILE_ATTRIBUTE_DATA dati;
  if (!GetFileAttributesExW(p.c_str(), GetFileExInfoStandard, &dati)) return errore_win32();
  if (dati.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return errore_win32(ERROR_DIRECTORY);
  byte = (static_cast<uint64_t>(dati.nFileSizeHigh) << 32) | dati.nFileSizeLow;
  return esito::riuscito();
}

esito piattaforma_win32::leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti,
                                     std::string& dati) {
  HANDLE h = INVALID_HANDLE_VALUE;
  uint64_t dimensione = 0;
  if (esito e = apri_ordinario(p, h, dimensione); !e) return e;
  // Known short before anything is set aside for it.
  if (inizio > dimensione || quanti > dimensione - inizio) {
    CloseHandle(h);
    dati.clear();
    return esito::fallito("il file è più corto del previsto");
  }
  LARGE_INTEGER posizione;
  posizione.QuadPart = static_cast<LONGLONG>(inizio);
  if (!SetFilePointerEx(h, posizione, nullptr, FILE_BEGIN)) {
    DWORD e = GetLastError();
    CloseHandle(h);
    return errore_win32(e);
  }
  dati.assign(quanti, '\0');
  size_t letti = 0;
  while (letti < quanti) {
    DWORD parte = static_cast<DWORD>(std::min<size_t>(quanti - letti, 1u << 30));
    DWORD n = 0;
    if (!ReadFile(h, dati.data() + letti, parte, &n, nullptr)) {
      DWORD e = GetLastError();
      CloseHandle(h);
      dati.clear();
      return errore_win32(e);
    }
    if (n == 0) {
      CloseHandle(h);
      dati.clear();
      return esito::fallito("il file è più corto del previsto");
    }
    letti += n;
  }
  CloseHandle(h);
  return esito::riuscito();
}

esito piattaforma_win32::stato_file(const std::filesystem::path& p, stato_di_file& stato) {
  WIN32_FILE_ATTRIBUTE_DATA dati;
  if (!GetFileAttributesExW(p.c_str(), GetFileExInfoStandard, &dati)) return errore_win32();
  DWORD attributi = dati.dwFileAttributes;
  FILETIME scrittura = dati.ftLastWriteTime;
  uint64_t byte = (static_cast<uint64_t>(dati.nFileSizeHigh) << 32) | dati.nFileSizeLow;
  if (attributi & FILE_ATTRIBUTE_REPARSE_POINT) {
    // Those are the link's own: what it points to is asked through a handle.
    HANDLE h = CreateFileW(p.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return errore_win32();
    BY_HANDLE_FILE_INFORMATION info;
    const bool letto = GetFileInformationByHandle(h, &info);
    const DWORD errore = GetLastError();
    CloseHandle(h);
    if (!letto) return errore_win32(errore);
    attributi = info.dwFileAttributes;
    scrittura = info.ftLastWriteTime;
    byte = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  }
  stato.regolare = (attributi & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
  stato.dimensione = byte;
  stato.modificato =
      static_cast<int64_t>((static_cast<uint64_t>(scrittura.dwHighDateTime) << 32) | scrittura.dwLowDateTime);
  return esito::riuscito();
}

bool piattaforma_win32::e_cartella(const std::filesystem::path& p) {
  const DWORD attributi = GetFileAttributesW(p.c_str());
  return attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool piattaforma_win32::stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  if (esiste(a) && esiste(b)) return std::filesystem::equivalent(a, b, ec);
  // Made absolute first: a name with no existing folder above it stays as
  // written, so "./a" and "a" would differ.
  return std::filesystem::weakly_canonical(std::filesystem::absolute(a, ec), ec) ==
         std::filesystem::weakly_canonical(std::filesystem::absolute(b, ec), ec);
}

esito piattaforma_win32::crea_cartella(const std::filesystem::path& p) {
  if (e_cartella(p)) return esito::riuscito();
  if (p.has_parent_path() && p.parent_path() != p && !e_cartella(p.parent_path())) {
    if (esito e = crea_cartella(p.parent_path()); !e) return e;
  }
  if (!CreateDirectoryW(p.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return errore_win32();
  if (!e_cartella(p)) return errore_win32(ERROR_ALREADY_EXISTS);  // a file of that name
  return esito::riuscito();
}

esito piattaforma_win32::crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                                  std::filesystem::path& creata) {
  // A name from the clock, the process and a counter; taken names are skipped.
  static unsigned contatore = 0;
  for (int tentativo = 0; tentativo < 1000; ++tentativo) {
    const unsigned long long seme =
        GetTickCount64() * 2654435761ull + GetCurrentProcessId() * 40503ull + ++contatore * 97ull;
    wchar_t coda[8];
    for (int i = 0; i < 6; ++i) coda[i] = L"abcdefghijklmnopqrstuvwxyz0123456789"[(seme >> (5 * i)) % 36];
    coda[6] = L'\0';
    const std::filesystem::path p = dentro / (da_utf8_a_wide(prefisso) + coda);
    if (CreateDirectoryW(p.c_str(), nullptr)) {
      creata = p;
      return esito::riuscito();
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return errore_win32();
  }
  return errore_win32(ERROR_ALREADY_EXISTS);
}

esito piattaforma_win32::rimuovi_cartella(const std::filesystem::path& p) {
  std::error_code ec;
  std::filesystem::remove_all(p, ec);
  if (!ec) return esito::riuscito();
  if (ec.category() == std::system_category()) return errore_win32(static_cast<DWORD>(ec.value()));
  return esito::fallito(ec.message());
}

void piattaforma_win32::mostra_attesa() {
  if (finestra_) return;
  HINSTANCE istanza = GetModuleHandleW(nullptr);
  WNDCLASSEXW classe{};
  classe.cbSize = sizeof classe;
  classe.lpfnWndProc = procedura_attesa;
  classe.hInstance = istanza;
  classe.hCursor = LoadCursorW(nullptr, reinterpret_cast<const wchar_t*>(IDC_WAIT));
  classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  classe.lpszClassName = classe_attesa;
  // A second platform object in the same process finds the class registered.
  if (!RegisterClassExW(&classe) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;

  // Sizes follow the screen's resolution, as twips do: 280 x 179 at 96 dpi.
  HDC schermo = GetDC(nullptr);
  int dpi_x = schermo ? GetDeviceCaps(schermo, LOGPIXELSX) : 96;
  int dpi_y = schermo ? GetDeviceCaps(schermo, LOGPIXELSY) : 96;
  if (schermo) ReleaseDC(nullptr, schermo);
  if (dpi_x <= 0) dpi_x = 96;
  if (dpi_y <= 0) dpi_y = 96;

  const DWORD stile = WS_OVERLAPPED | WS_CAPTION | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT area{0, 0, in_pixel(misure_attesa::larghezza_client, dpi_x), in_pixel(misure_attesa::altezza_client, dpi_y)};
  AdjustWindowRectEx(&area, stile, FALSE, 0);
  const int larghezza = area.right - area.left;
  const int altezza = area.bottom - area.top;
  // In the middle of the screen's work area.
  RECT lavoro{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &lavoro, 0);
  const int x = lavoro.left + std::max(0, (static_cast<int>(lavoro.right - lavoro.left) - larghezza) / 2);
  const int y = lavoro.top + std::max(0, (static_cast<int>(lavoro.bottom - lavoro.top) - altezza) / 2);

  // No owner: a top-level window of its own.
  finestra_ = CreateWindowExW(0, classe_attesa, L"Attendere", stile, x, y, larghezza, altezza, nullptr, nullptr,
                              istanza, nullptr);
  if (!finestra_) return;  // no display: the build goes on without a window
  etichetta_ = CreateWindowExW(
      0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
      in_pixel(misure_attesa::sinistra_etichetta, dpi_x), in_pixel(misure_attesa::alto_etichetta, dpi_y),
      in_pixel(misure_attesa::larghezza_etichetta, dpi_x), in_pixel(misure_attesa::altezza_etichetta, dpi_y),
      finestra_, nullptr, istanza, nullptr);
  if (etichetta_) {
    carattere_ = CreateFontW(-MulDiv(misure_attesa::punti_carattere, dpi_y, 72), 0, 0, 0, misure_attesa::peso_carattere,
                             FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    if (carattere_) SendMessageW(etichetta_, WM_SETFONT, reinterpret_cast<WPARAM>(carattere_), FALSE);
  }
  // Shown, not modal, and painted once now: no message loop runs while the
  // build works.
  ShowWindow(finestra_, SW_SHOWNORMAL);
  UpdateWindow(finestra_);
}

void piattaforma_win32::messaggio(const std::string& testo) {
  // Modal, OK only, no icon, the system's default title; a control
  // character shown, not acted on.
  box_(nullptr, da_utf8_a_wide(testo_mostrabile(testo)).c_str(), nullptr, MB_OK);
}

std::filesystem::path piattaforma_win32::nome_file(std::string_view nome_cp1252) {
  if (nome_cp1252.empty()) return {};
  int n = MultiByteToWideChar(1252, 0, nome_cp1252.data(), static_cast<int>(nome_cp1252.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(1252, 0, nome_cp1252.data(), static_cast<int>(nome_cp1252.size()), w.data(), n);
  return std::filesystem::path(std::move(w));
}

std::unique_ptr<piattaforma> piattaforma_di_sistema(std::filesystem::path cartella) {
  return std::make_unique<piattaforma_win32>(std::move(cartella));
}
