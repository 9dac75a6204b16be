// A diagnostic as one line in the form editors and terminals jump to
// ("FILE:LINE:COLUMN: ...", as read by Vim's quickfix, Emacs' compilation
// mode and editors' problem matchers): the one place that form is made.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "diagnosi/diagnostica.h"

// "FILE:LINE:COLUMN: ", leaving out what is unknown (0); a column without a
// line is left out too.
std::string prefisso_luogo(std::string_view file, int32_t riga, int32_t colonna);

// The place, then for a warning "attenzione: TEXT [CODE]", for a note "nota:
// TEXT [CODE]", for an error its text alone (it names its number); `file`
// names the file the place is in (none: no place at all). No line end.
std::string riga_gnu(const diagnostica& d, std::string_view file);
