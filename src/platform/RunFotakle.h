// The program's entry: `fotakle [FILE]` starts the editor's window (one copy
// per user; a later start hands FILE to the running copy and ends),
// `fotakle --replay SCRIPT [FILE]` runs a script against the editor without
// a window. Anything else prints the usage and gives 2.
#pragma once

// argc is a reference because QApplication keeps it.
int RunFotakle(int& argc, char** argv);
