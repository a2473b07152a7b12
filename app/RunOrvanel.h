#pragma once

#include <QString>
#include <functional>

class FormMain;

// The program from its first line to the end of its event loop. An empty
// programDir is the folder of the executable. shown runs once the main window
// has been shown, before the event loop starts: the start-up benchmark
// watches the window from there, so that it times the program's own start
// and not an imitation of it.
int RunOrvanel(int argc, char* argv[], const QString& programDir = QString(),
               const std::function<void(FormMain&)>& shown = {});
