// Text on its way to a terminal or a message box, where a control character
// would act instead of showing: ESC starts a terminal's commands (a title
// set, the screen cleared, a line rewritten), and a name read from a payload
// or a folder may hold one.
#pragma once

#include <string>
#include <string_view>

// `testo` (UTF-8) with every control character shown as "\x" and two hex
// digits: the C0 controls but the line end and the tab, DEL, and the C1
// controls U+0080 to U+009F (by their code point: "\x9b"). A byte that is
// not part of valid UTF-8 is shown the same way. Applied twice, it changes
// nothing more.
std::string testo_mostrabile(std::string_view testo);
