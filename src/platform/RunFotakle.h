// The program's entry: `fotakle` starts the editor's window (one copy per
// user), `fotakle --replay SCRIPT` runs a script against the editor without
// a window. Anything else prints the usage and gives 2.
#pragma once

// argc is a reference because QApplication keeps it.
int RunFotakle(int& argc, char** argv);
