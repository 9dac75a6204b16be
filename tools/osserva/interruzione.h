// The end of `scenario watch` on request: Ctrl-C, and the other ways a
// console asks a program to end (on POSIX SIGTERM and a terminal that hangs
// up; on Windows Ctrl-Break and the console window closed, logging off,
// shutting down), become a flag that the watch reads between two looks at
// the sources, so it ends cleanly: no build cut in half, the server stopped,
// the build's working folder gone. One small file per platform.
#pragma once

// Installs the handlers; once, before the watch starts.
void intercetta_interruzione();

// Whether an end has been asked for.
bool interruzione_chiesta();

// The watch has ended cleanly. On Windows a console being closed ends the
// process as soon as its handler returns, so the handler waits for this.
void fine_conclusa();
