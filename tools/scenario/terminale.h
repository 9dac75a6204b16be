// Whether the tool's standard error goes to a terminal, where a person reads
// it: then an error's source line is shown under it without being asked.
#pragma once

bool errori_su_terminale();
