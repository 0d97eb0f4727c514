#pragma once
// The download package (<project>.td): the compiled image, the PLC drivers of COM0 and COM1 and
// the panel firmware of both hardware versions, written beside the final name and renamed into
// place, so a failed write never leaves a half package.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/PackageFormat.h"
#include "editor/base/Problem.h"

namespace kd820 {

class CEditorContext;
class CKV410Project;

// The files the sections come from; an empty path leaves its section absent.
struct CPackageSources {
  std::string m_Image;
  std::array<std::string, 2> m_Drivers;  // COM0, COM1
  std::string m_Gui1;
  std::string m_Gui2;
};

class PackageWriter {
 public:
  // "Create Compile File Failed!": the package file cannot be written.
  static constexpr const char* kCreateFailed = "Create Compile File Failed!";

  // The sources for a project: its image, the driver files of the PLC models chosen for COM0
  // and COM1 when those ports are in use, and the firmware files of its hardware model.
  static CPackageSources SourcesFor(const CKV410Project& a_Project, CEditorContext& a_Context,
                                    IProblemSink& a_Problems);
  // Builds the package in memory; false at the first source that cannot be read.
  static bool Build(const CPackageSources& a_Sources, std::vector<uint8_t>& a_Package,
                    IProblemSink& a_Problems);
  // Appends one source file without its first a_Skip bytes, zero-filled to a multiple of 4;
  // a_Entry gets the offset, the size with fill, the sum of the real bytes and the version
  // from bytes 8..9 of the source.
  static bool AppendSource(const std::string& a_Path, std::size_t a_Skip, std::vector<uint8_t>& a_Package,
                           pkg::SectionEntry& a_Entry, IProblemSink& a_Problems);
  // Builds and writes the package to a_Target.
  static bool Write(const CPackageSources& a_Sources, const std::string& a_Target, IProblemSink& a_Problems);
  // The package path of a project: <project directory>/<project name>.td.
  static std::string PackagePath(const CKV410Project& a_Project);
};

}  // namespace kd820
