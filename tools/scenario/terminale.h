// Whether the tool's standard error goes to a terminal, where a person reads
// it: then an error's source line is shown under it without being asked.
#pragma once

bool errori_su_terminale();

// Readies the terminal for the tool's output, which is UTF-8: on Windows the
// console is switched to UTF-8, so accented letters show as they are. On
// every platform standard error is passed through flusso_mostrabile from
// then on, so that no message acts on the terminal.
void prepara_terminale();
