// The stubs `scenario pack` starts from: the generic package program built
// for Linux and for Windows (Release, stripped, nothing but the system's
// libraries), kept in stub/ beside the tool's own executable, in the build
// folder as in an installation or a release archive. A program made by pack
// is a stub with a payload appended (carico/carico.h).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/piattaforma.h"

enum class destinazione { per_linux, per_windows };

inline constexpr std::string_view cartella_programmi_base = "stub";
inline constexpr std::string_view base_linux = "scenario-package-linux";
inline constexpr std::string_view base_windows = "scenario-package-windows.exe";

// "Linux", "Windows".
std::string_view nome_destinazione(destinazione d);

// Where the stub for `d` is: stub/ beside the running tool.
std::filesystem::path percorso_programma_base(piattaforma& sistema, destinazione d);

// The stub for `d` as linked, without any payload it carries; or, when it is
// missing or not a sound program, why, in a message that says what to
// install.
struct programma_base {
  std::optional<std::string> byte;
  std::string messaggio;
};
programma_base leggi_programma_base(piattaforma& sistema, destinazione d);
