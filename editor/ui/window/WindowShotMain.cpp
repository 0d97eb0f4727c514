// kd820-window-shot PROJECT.FPJ OUT.png [FRAME [ELEMENT]]: writes a picture of the editor's
// main window with the project open, frame FRAME shown (default: the first) and its element
// number ELEMENT (1 = the first in drawing order) selected. For the documentation's
// screenshots; runs on any Qt platform, offscreen included.
#include <QApplication>
#include <QPixmap>
#include <cstdlib>
#include <iostream>
#include <string>

#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/window/FrameCanvas.h"
#include "editor/ui/window/MainWindow.h"
#include "editor/ui/window/QtInteraction.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) {
    std::cerr << "usage: kd820-window-shot PROJECT.FPJ OUT.png [FRAME [ELEMENT]]\n";
    return 2;
  }
  QApplication app(argc, argv);
  kd820::CQtInteraction ui;
  kd820::CMainWindow window(ui);
  window.resize(980, 520);
  if (!window.OpenProject(argv[1])) return 1;
  kd820::CKV410Project& project = *window.Doc().GetProject();
  if (argc >= 4) {
    kd820::CHMIFrame* frame = project.FindFrame(static_cast<uint16_t>(std::atoi(argv[3])));
    if (frame == nullptr) {
      std::cerr << "kd820-window-shot: the project has no frame " << argv[3] << "\n";
      return 1;
    }
    window.Editor().SetCurrentFrame(frame);
  }
  if (argc == 5) {
    const auto& elements = window.Editor().CurrentFrame()->GetElements();
    const int index = std::atoi(argv[4]) - 1;
    if (index < 0 || index >= static_cast<int>(elements.size())) {
      std::cerr << "kd820-window-shot: the frame has no element " << argv[4] << "\n";
      return 1;
    }
    window.Editor().Select(elements[static_cast<std::size_t>(index)].get());
  }
  window.show();
  QApplication::processEvents();
  if (!window.grab().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::cerr << "kd820-window-shot: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
