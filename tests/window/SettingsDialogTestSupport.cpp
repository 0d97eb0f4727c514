#include "tests/window/SettingsDialogTestSupport.h"

#include <QJsonDocument>

#include "editor/project/KV410Doc.h"
#include "editor/project/ProjectJson.h"
#include "tests/TestSupport.h"

namespace test {

std::string ExportJson(kd820::CMainWindow& a_Window) {
  return kd820::ExportProjectJson(*a_Window.Doc().GetProject(), a_Window.Doc().Context());
}

std::vector<uint8_t> ImportedWith(const std::string& a_Json, const std::function<void(QJsonObject&)>& a_Edit,
                                  std::string* a_Error) {
  QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(a_Json)).object();
  a_Edit(root);
  kd820::CEditorContext context;
  kd820::ProjectJsonImport imported = kd820::ImportProjectJson(QJsonDocument(root).toJson().toStdString(), context);
  if (!imported) {
    if (a_Error != nullptr) *a_Error = imported.m_Error;
    return {};
  }
  return kd820::CKV410Doc::ProjectFileBytes(*imported.m_Project);
}

std::vector<uint8_t> Saved(kd820::CMainWindow& a_Window) {
  if (!a_Window.SaveProject()) return {};
  return ReadFile(a_Window.Doc().GetPathName());
}

}  // namespace test
