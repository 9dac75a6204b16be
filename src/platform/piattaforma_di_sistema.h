// The platform of the system a program runs on, for programs that need only
// the seam itself: the POSIX side or the Windows side, whichever this build
// is for.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/piattaforma.h"

// `cartella`: the program folder; empty, the folder of the running executable.
std::unique_ptr<piattaforma> piattaforma_di_sistema(std::filesystem::path cartella = {});
