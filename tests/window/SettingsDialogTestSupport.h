#pragma once
// Helpers of the settings dialogs' tests: a dialog of the main window driven once it runs,
// and the project file the JSON import gives for an edited JSON form of a project.
#include <QDialog>
#include <QJsonObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/ui/window/MainWindow.h"

namespace test {

// Runs a_Drive on a dialog once its event loop runs; a dialog a_Drive leaves open is then
// cancelled, so that a failed check never leaves a test waiting.
template <class D>
void DriveDialog(QDialog& a_Dialog, std::function<void(D&)> a_Drive) {
  QTimer::singleShot(0, &a_Dialog, [&a_Dialog, a_Drive] {
    a_Drive(static_cast<D&>(a_Dialog));
    if (a_Dialog.isVisible()) a_Dialog.reject();
  });
}

// The main window's next settings dialogs are driven by a_Drive.
template <class D>
void DriveSettings(kd820::CMainWindow& a_Window, std::function<void(D&)> a_Drive) {
  a_Window.m_PrepareSettingsDialog = [a_Drive](QDialog& a_Dialog) { DriveDialog<D>(a_Dialog, a_Drive); };
}

// The JSON form of the window's project.
std::string ExportJson(kd820::CMainWindow& a_Window);
// A project's JSON form with a_Edit applied to it, imported and stored as a project file;
// empty when the import refuses it (the reason in a_Error).
std::vector<uint8_t> ImportedWith(const std::string& a_Json, const std::function<void(QJsonObject&)>& a_Edit,
                                  std::string* a_Error = nullptr);

// The saved project file of the window's project.
std::vector<uint8_t> Saved(kd820::CMainWindow& a_Window);

}  // namespace test
