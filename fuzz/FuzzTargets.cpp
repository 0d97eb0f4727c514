#include "fuzz/FuzzTargets.h"

#include <cstdlib>
#include <vector>

#include "editor/project/KV410Doc.h"

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
