#include "fuzz/FuzzTargets.h"

#include <cstdlib>
#include <string_view>
#include <vector>

#include "editor/screens/SingleColorBmp.h"
#include "editor/devices/HardwareLibrary.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/ElementClip.h"
#include "editor/project/KV410Doc.h"
#include "editor/screens/CanvasGeometry.h"
#include "editor/project/ProjectJson.h"

using namespace kd820;

int FuzzProjectLoad(const uint8_t* a_Data, std::size_t a_Size) {
  std::unique_ptr<CKV410Project> project;
  try {
    project = CKV410Doc::LoadFromBytes(std::vector<uint8_t>(a_Data, a_Data + a_Size));
  } catch (const ArchiveError&) {
    return 0;
  } catch (const ProjectVersionError&) {
    return 0;
  }
  const auto store = [](CKV410Project& a_Project) {
    CArchive ar;
    a_Project.SortFrames();
    ar.WriteObject(&a_Project);
    return ar.Bytes();
  };
  const std::vector<uint8_t> first = store(*project);
  auto again = CKV410Doc::LoadFromBytes(first);  // must not throw
  if (store(*again) != first) std::abort();
  return 0;
}

int FuzzXmlLibrary(const uint8_t* a_Data, std::size_t a_Size) {
  // Messages are part of normal refusals; keep them off the fuzzer's output.
  CProblemList quiet;

  CHardwareModel model;
  if (CHardwareLibrary::LoadModelFromMemory(model, a_Data, a_Size, "fuzz.CFG", quiet)) {
    int32_t last = -1;
    for (const auto& port : model.m_Ports) {
      if (port.m_Id < 0 || port.m_Id > 3 || port.m_Id < last) std::abort();
      last = port.m_Id;
      if (GetPortId(model, port.m_DeviceName) < 0) std::abort();
    }
    if (HardwareModelTexts(model).size() > 7 + 4) std::abort();
  }

  CPLCModel plc;
  if (plc.LoadFromMemory(a_Data, a_Size, "fuzz.CFG", quiet)) {
    for (const auto& type : plc.m_BitTypes) {
      if (type.m_Width != kWidthBit) std::abort();
    }
    for (const auto& type : plc.m_WordTypes) {
      if (type.m_Width != kWidthWord) std::abort();
    }
    for (const auto& type : plc.m_DWordTypes) {
      if (type.m_Width != kWidthDWord) std::abort();
    }
    for (const auto* list : {&plc.m_BitTypes, &plc.m_WordTypes, &plc.m_DWordTypes}) {
      for (const auto& type : *list) {
        if (type.m_HasSubAddress && (type.m_SubBits < 0 || type.m_SubBits > 31 ||
                                     type.m_SubMax != static_cast<int32_t>((int64_t{1} << type.m_SubBits) - 1))) {
          std::abort();
        }
        if (plc.FindRegisterType(type.m_Width == kWidthBit, type.m_Name) == nullptr) std::abort();
      }
    }
    std::vector<std::string> names;
    plc.ListRegisterNames(true, names);
    plc.ListRegisterNames(false, names);
    if (names.size() != plc.m_BitTypes.size() + plc.m_WordTypes.size() + plc.m_DWordTypes.size()) std::abort();
  }

  return 0;
}

int FuzzJsonImport(const uint8_t* a_Data, std::size_t a_Size) {
  const auto store = [](CKV410Project& a_Project) {
    CArchive ar;
    a_Project.SortFrames();
    ar.WriteObject(&a_Project);
    return ar.Bytes();
  };
  // One context for every run: its libraries are read once.
  static CProblemList quiet;
  static CEditorContext context(quiet);
  quiet.Clear();
  ProjectJsonImport first =
      ImportProjectJson(std::string_view(reinterpret_cast<const char*>(a_Data), a_Size), context);
  if (!first) {
    if (first.m_Error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  const std::vector<uint8_t> bytes = store(*first.m_Project);
  ProjectJsonImport second = ImportProjectJson(ExportProjectJson(*first.m_Project, context), context);
  if (!second || store(*second.m_Project) != bytes) std::abort();
  // Loading must not throw and gives the same project, except that it always sets the alarms'
  // reserved switch.
  auto loaded = CKV410Doc::LoadFromBytes(bytes);
  first.m_Project->GetAlarms().m_ReservedSwitch = 1;
  if (store(*loaded) != store(*first.m_Project)) std::abort();
  return 0;
}

int FuzzBmpReader(const uint8_t* a_Data, std::size_t a_Size) {
  SingleColorBitmap bitmap;
  const BmpStatus status = ReadSingleColorBmp(std::span<const uint8_t>(a_Data, a_Size), bitmap);
  if (status != BmpStatus::kOk) {
    // A refusal leaves the bitmap as it was.
    if (bitmap.m_Width != 0 || bitmap.m_Height != 0 || !bitmap.m_Pixels.empty()) std::abort();
    if (status == BmpStatus::kCannotOpen) std::abort();  // only files fail to open
    return 0;
  }
  if (bitmap.m_Width <= 0 || bitmap.m_Width > 0xFFFF || bitmap.m_Height <= 0 || bitmap.m_Height > 0xFFFF) {
    std::abort();
  }
  const std::size_t rowBytes = (static_cast<std::size_t>(bitmap.m_Width) + 7) / 8;
  if (bitmap.m_Pixels.size() != rowBytes * static_cast<std::size_t>(bitmap.m_Height)) std::abort();
  if (bitmap.m_Width % 8 != 0) {
    const auto spare = static_cast<uint8_t>(0xFF << (bitmap.m_Width % 8));
    for (int32_t row = 0; row < bitmap.m_Height; ++row) {
      if ((bitmap.m_Pixels[(static_cast<std::size_t>(row) + 1) * rowBytes - 1] & spare) != 0) std::abort();
    }
  }
  // The reader is deterministic: the same bytes give the same bitmap.
  SingleColorBitmap again;
  if (ReadSingleColorBmp(std::span<const uint8_t>(a_Data, a_Size), again) != BmpStatus::kOk ||
      again.m_Pixels != bitmap.m_Pixels) {
    std::abort();
  }
  return 0;
}

int FuzzElementClip(const uint8_t* a_Data, std::size_t a_Size) {
  std::optional<CElementClip> clip = ReadElementClip(std::span<const uint8_t>(a_Data, a_Size));
  if (!clip) return 0;
  std::vector<CGraphElement*> elements;
  std::vector<CRect> rects;
  for (const auto& e : clip->m_Elements) {
    elements.push_back(e.get());
    rects.push_back(e->GetRect());
  }
  const std::vector<uint8_t> first = WriteElementClip(clip->m_Identity, clip->m_FrameNumber, elements);
  std::optional<CElementClip> again = ReadElementClip(first);
  if (!again) std::abort();
  std::vector<CGraphElement*> againElements;
  for (const auto& e : again->m_Elements) againElements.push_back(e.get());
  if (WriteElementClip(again->m_Identity, again->m_FrameNumber, againElements) != first) std::abort();

  // Paste it as the editor does, into the same frame and into another one.
  for (bool same : {true, false}) {
    const std::optional<COffset> offset = PasteOffset(rects, {4, 4}, same, 192, 64);
    if (!offset) continue;
    CHMIFrame frame(1);
    for (auto& e : again->m_Elements) {
      auto copy = e->Clone();
      copy->SetPosition(copy->GetLeft() + offset->m_X, copy->GetTop() + offset->m_Y);
      if (frame.AddElement(std::move(copy)) == nullptr) std::abort();
    }
    if (frame.GetElements().size() != rects.size()) std::abort();
  }
  return 0;
}
