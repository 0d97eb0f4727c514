#pragma once
// A register address: a register type of the PLC on one of the ports, or one of the panel's
// internal register types, with the number within that type.
#include <array>
#include <cstdint>
#include <string>

#include "editor/project/Archive.h"

// Program-wide marks of the ports whose PLC the communication settings changed (0..3).
void SetChangedPorts(const std::array<bool, 4>& a_Marks);
bool IsPortChanged(int32_t a_Port);

class CAddr : public CObject {
  KD_DECLARE_SERIAL(CAddr)

 public:
  enum Width : int32_t { kBit = 0, kWord = 1, kDoubleWord = 2 };
  static constexpr int32_t kInternalPort = -1;
  static constexpr int32_t kCurrentVersion = 2;

  // A fresh address: the default internal word address LW 0.
  CAddr();
  explicit CAddr(int32_t a_Width);

  // The default address of the given width. Unless a_KeepInternal, the address moves to the
  // lowest enabled port of the current project when it has one.
  void Reset(int32_t a_Width, bool a_KeepInternal = true);
  void CopyFrom(const CAddr& a_Other);
  void Serialize(CArchive& a_Ar) override;

  // When the port is a it becomes b and the other way round; nothing when a equals b.
  void SwapPort(int32_t a_A, int32_t a_B);

  // Resets a port address whose port is marked as changed (SetChangedPorts).
  void ResetIfPortChanged();

  bool IsInternal() const { return m_Port == kInternalPort; }
  // Every field equal.
  bool operator==(const CAddr& a_Other) const;

  int32_t m_Width = kWord;
  int32_t m_Port = kInternalPort;
  int32_t m_Station = 0;
  std::string m_TypeName = "LW";
  std::string m_Note;
  int32_t m_Address = 0;
  int32_t m_HasSubAddress = 0;  // boolean, kept as stored
  int32_t m_SubAddress = 0;
  int32_t m_HasIndex = 0;       // boolean
  int32_t m_Index = 0;
  int32_t m_Bcd = 0;            // boolean
  int32_t m_Length = 1;
};
