// Pictures for the documentation and the desktop, on any Qt platform (offscreen included):
//   kd820-window-shot PROJECT.FPJ OUT.png [FRAME [ELEMENT]]
//       the main window with the project open, frame FRAME shown (default: the first) and its
//       element number ELEMENT (1 = the first in drawing order) selected;
//   kd820-window-shot --element PROJECT.FPJ OUT.png FRAME ELEMENT
//       the properties dialog of that element;
//   kd820-window-shot --wizard OUT.png PAGE
//       the new-project wizard on page PAGE (1 name, 2 panel model, 3 PLC), named "Plant";
//   kd820-window-shot --settings DIALOG PROJECT.FPJ OUT.png
//       a settings dialog of the project: global, alarms, alarm-item (its first alarm, or a
//       new one), comm, advanced (COM0's advanced settings), transfers, transfer-item (its
//       first transfer, or a new one), languages or mission;
//   kd820-window-shot --icon OUT.png SIZE
//       the application icon (the drawing of desktop/kd820.svg) at SIZE x SIZE pixels.
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/window/AlarmDialog.h"
#include "editor/ui/window/CommDialog.h"
#include "editor/ui/window/ElementDialog.h"
#include "editor/ui/window/LanguageDialog.h"
#include "editor/ui/window/MissionDialog.h"
#include "editor/ui/window/PortTabs.h"
#include "editor/ui/window/SettingsDialog.h"
#include "editor/ui/window/TransferDialog.h"
#include "editor/ui/window/FrameCanvas.h"
#include "editor/ui/window/MainWindow.h"
#include "editor/ui/window/NewProjectDialog.h"
#include "editor/ui/window/QtInteraction.h"
#include "platform/Translate.h"

namespace {

bool Save(QWidget& a_Widget, const char* a_Path) {
  a_Widget.show();
  QApplication::processEvents();
  if (a_Widget.grab().save(QString::fromLocal8Bit(a_Path), "PNG")) return true;
  std::cerr << "kd820-window-shot: cannot write " << a_Path << "\n";
  return false;
}

// Shows frame a_Frame and selects its element a_Element (0: none); false after saying why.
bool ShowElement(kd820::CMainWindow& a_Window, const char* a_Frame, const char* a_Element) {
  kd820::CKV410Project& project = *a_Window.Doc().GetProject();
  if (a_Frame != nullptr) {
    kd820::CHMIFrame* frame = project.FindFrame(static_cast<uint16_t>(std::atoi(a_Frame)));
    if (frame == nullptr) {
      std::cerr << "kd820-window-shot: the project has no frame " << a_Frame << "\n";
      return false;
    }
    a_Window.Editor().SetCurrentFrame(frame);
  }
  if (a_Element != nullptr) {
    const auto& elements = a_Window.Editor().CurrentFrame()->GetElements();
    const int index = std::atoi(a_Element) - 1;
    if (index < 0 || index >= static_cast<int>(elements.size())) {
      std::cerr << "kd820-window-shot: the frame has no element " << a_Element << "\n";
      return false;
    }
    a_Window.Editor().Select(elements[static_cast<std::size_t>(index)].get());
  }
  return true;
}

// The icon: a panel with its LCD (text lines, a bar, a lamp) and four keys, on a 64-unit grid.
QImage Icon(int a_Size) {
  QImage image(a_Size, a_Size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(a_Size / 64.0, a_Size / 64.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor("#3b4650"));
  p.drawRoundedRect(QRectF(4, 6, 56, 52), 6, 6);
  p.setBrush(QColor("#a9c27a"));
  p.drawRoundedRect(QRectF(9, 11, 46, 26), 2, 2);
  const QColor ink("#1f2a12");
  p.setBrush(ink);
  p.drawRect(QRectF(13, 15, 22, 3));
  p.drawRect(QRectF(13, 21, 16, 3));
  p.drawRect(QRectF(14.5, 28.5, 17, 3));
  p.drawEllipse(QPointF(47, 19), 4, 4);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ink, 1.5));
  p.drawRect(QRectF(13, 27, 28, 6));
  p.setPen(Qt::NoPen);
  for (int key = 0; key < 4; ++key) {
    p.setBrush(QColor(key == 3 ? "#e0703a" : "#d8dde2"));
    p.drawRoundedRect(QRectF(10 + 12 * key, 43, 9, 9), 2, 2);
  }
  return image;
}

int Usage() {
  std::cerr << "usage: kd820-window-shot PROJECT.FPJ OUT.png [FRAME [ELEMENT]]\n"
               "       kd820-window-shot --element PROJECT.FPJ OUT.png FRAME ELEMENT\n"
               "       kd820-window-shot --wizard OUT.png PAGE\n"
               "       kd820-window-shot --settings DIALOG PROJECT.FPJ OUT.png\n"
               "       kd820-window-shot --icon OUT.png SIZE\n";
  return 2;
}

// The settings dialog a_Name of the window's project; null after saying why.
std::unique_ptr<QWidget> SettingsDialog(kd820::CMainWindow& a_Window, IUserInteraction& a_Ui,
                                        kd820::IProgramStarter& a_Starter, const std::string& a_Name) {
  using namespace kd820;
  CKV410Doc& doc = a_Window.Doc();
  CKV410Project& project = *doc.GetProject();
  CEditorContext& context = doc.Context();
  if (a_Name == "global") return std::make_unique<CSettingsDialog>(context, project, a_Ui);
  if (a_Name == "alarms") return std::make_unique<CAlarmDialog>(context, project, a_Ui);
  if (a_Name == "alarm-item") {
    const auto& alarms = project.GetAlarms().m_Alarms;
    return std::make_unique<CAlarmItemDialog>(context, alarms.empty() ? CAlarmItem{} : alarms.front(), a_Ui);
  }
  if (a_Name == "comm") return std::make_unique<CCommDialog>(doc, a_Window.Editor());
  if (a_Name == "advanced" && project.GetPort(0)->IsEnabled()) {
    CNewProjectPlc page(context.CurrentHardwareModel(), context);
    page.LoadFromProject(project);
    return std::make_unique<CAdvancedPortDialog>(*project.GetPort(0), page.ProtocolDefaults(0));
  }
  if (a_Name == "transfers") return std::make_unique<CTransferDialog>(context, project, a_Ui);
  if (a_Name == "transfer-item") {
    const auto& items = project.GetTransfers().m_Items;
    return std::make_unique<CTransferItemDialog>(context, items.empty() ? CDataTransferItem{} : items.front(), a_Ui);
  }
  if (a_Name == "languages") return std::make_unique<CLanguageDialog>(project, a_Ui);
  if (a_Name == "mission") {
    return std::make_unique<CMissionDialog>(a_Starter, std::filesystem::path(project.GetPath()).parent_path().string());
  }
  std::cerr << "kd820-window-shot: no settings dialog " << a_Name << " for this project\n";
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  kd820::InitTranslation();
  QApplication app(argc, argv);
  const std::string mode = argv[1];
  if (mode == "--icon") {
    if (argc != 4) return Usage();
    return Icon(std::atoi(argv[3])).save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
  }
  kd820::CQtInteraction ui;
  kd820::CMainWindow window(ui);
  window.resize(980, 520);
  if (mode == "--wizard") {
    if (argc != 4) return Usage();
    kd820::CNewProjectDialog wizard(window.Doc(), ui);
    wizard.resize(620, 420);
    wizard.show();
    wizard.NameBox().setText("Plant");
    for (int page = 1; page < std::atoi(argv[3]); ++page) wizard.next();
    return Save(wizard, argv[2]) ? 0 : 1;
  }
  if (mode == "--settings") {
    if (argc != 5) return Usage();
    if (!window.OpenProject(argv[3])) return 1;
    kd820::CProcessStarter starter;
    std::unique_ptr<QWidget> dialog = SettingsDialog(window, ui, starter, argv[2]);
    return dialog != nullptr && Save(*dialog, argv[4]) ? 0 : 1;
  }
  if (mode == "--element") {
    if (argc != 6) return Usage();
    if (!window.OpenProject(argv[2]) || !ShowElement(window, argv[4], argv[5])) return 1;
    kd820::CElementDialog dialog(window.Doc().Context(), *window.Doc().GetProject(),
                                 *window.Editor().Selection().Reference(), ui);
    return Save(dialog, argv[3]) ? 0 : 1;
  }
  if (argc > 5) return Usage();
  if (!window.OpenProject(argv[1])) return 1;
  if (!ShowElement(window, argc >= 4 ? argv[3] : nullptr, argc == 5 ? argv[4] : nullptr)) return 1;
  return Save(window, argv[2]) ? 0 : 1;
}
