#include "editor/ui/window/WindowApp.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>

#include "Version.h"
#include "editor/ui/window/MainWindow.h"
#include "editor/ui/window/QtInteraction.h"

namespace kd820 {

namespace {

bool IsSet(const char* a_Name) {
  const char* value = std::getenv(a_Name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool WindowDisplayAvailable() {
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

int RunWindow(int a_Argc, char** a_Argv, const std::string& a_Project) {
  if (!WindowDisplayAvailable()) {
    std::cerr << "KD820: no display to open the editor window on (neither DISPLAY nor WAYLAND_DISPLAY is "
                 "set); the subcommands run without one (see KD820 --help)\n";
    return 1;
  }
  QApplication app(a_Argc, a_Argv);
  QApplication::setApplicationName("KD820");
  QApplication::setApplicationVersion(KD820_VERSION_STRING);
  // The desktop entry cmake --install puts in place, whose icon the desktop shows.
  QApplication::setDesktopFileName("KD820");
  CQtInteraction ui;
  CMainWindow window(ui);
  ui.SetParent(&window);
  window.resize(900, 480);
  window.show();
  if (!a_Project.empty()) window.OpenProject(a_Project);
  return QApplication::exec();
}

}  // namespace kd820
