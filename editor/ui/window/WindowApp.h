#pragma once
// Starting the windowed editor from the command line.
#include <string>

namespace kd820 {

// True when the window has somewhere to show: an X or Wayland display, or a Qt platform
// chosen by QT_QPA_PLATFORM (offscreen, for tests and screenshots). Read from the environment.
bool WindowDisplayAvailable();

// Opens the main window (with a_Project when not empty) and runs it until it closes; the
// exit status. Without a display it says so and returns 1 instead of letting Qt abort.
int RunWindow(int a_Argc, char** a_Argv, const std::string& a_Project);

}  // namespace kd820
