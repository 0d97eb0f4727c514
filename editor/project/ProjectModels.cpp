#include "editor/project/ProjectModels.h"

#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"

namespace kd820 {

void ReloadPortModels(const CKV410Project& a_Project, CEditorContext& a_Context) {
  const CPlcLibrary& library = a_Context.GetPlcLibrary();
  for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) {
    const CPortCom* port = a_Project.GetPort(i);
    CPLCModel& model = *a_Context.GetPortModel(i);
    if (port == nullptr || !port->IsEnabled()) {
      model = CPLCModel();
    } else {
      library.LoadPortModel(model, port->m_ProtocolId);
    }
  }
  // The CAN port carries no protocol id: its model is only emptied when the port is off.
  if (!a_Project.GetCanPort().IsEnabled()) *a_Context.GetPortModel(CPortCan::kPortNumber) = CPLCModel();
}

void LoadProjectModels(const CKV410Project& a_Project, CEditorContext& a_Context) {
  CHardwareModel& model = a_Context.CurrentHardwareModel();
  if (!a_Context.GetHardwareLibrary().LoadModelById(model, a_Project.GetHardwareModelId())) {
    model = CHardwareModel();
  }
  ReloadPortModels(a_Project, a_Context);
}

}  // namespace kd820
