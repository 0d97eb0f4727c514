// Writes the sample project to the given project file.
#include <cstdio>
#include <iostream>

#include "demo/SampleProject.h"
#include "editor/project/KV410Doc.h"
#include "platform/TerminalInteraction.h"

using namespace kd820;

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]) == "--help") {
    std::cerr << "usage: make-sample-project PROJECT.FPJ\n"
                 "Writes a sample project with every element type, three languages, alarms,\n"
                 "data transfers and bitmap items.\n";
    return argc == 2 ? 0 : 2;
  }
  TerminalInteraction ui;
  CKV410Doc doc(ui);
  auto project = MakeSampleProject(doc.Context());
  project->SetPath(argv[1]);
  if (!doc.AdoptProject(std::move(project))) return 1;
  // The document adds a first frame to a new project; the sample has its own.
  if (!doc.Save()) return 1;
  std::cout << "wrote " << doc.GetPathName() << "\n";
  return 0;
}
