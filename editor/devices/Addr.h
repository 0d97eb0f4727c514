#pragma once
// A register address: a register type of the PLC on one of the ports, or one of the panel's
// internal register types, with the number within that type.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/base/Archive.h"
#include "editor/base/FieldTable.h"

namespace kd820 {

struct CRegisterType;
class CEditorContext;

// The range hint of a port register type, for example "DDDD(0~9999)".
std::string RangeText(const CRegisterType& a_Type);
// Parses a number typed in a base (0 octal, 1 decimal, 2 hexadecimal): octal and decimal as
// signed, hexadecimal as unsigned; the whole text must convert.
std::optional<int64_t> ParseNumberInBase(const std::string& a_Text, int32_t a_Base);
// Prints a number in a base: "%o", "%u" or "%X".
std::string FormatInBase(int64_t a_Value, int32_t a_Base);

class CAddr : public CObject {
  KD_DECLARE_SERIAL(CAddr)

 public:
  enum Width : int32_t { kBit = 0, kWord = 1, kDoubleWord = 2 };
  static constexpr int32_t kInternalPort = -1;
  static constexpr int32_t kCurrentVersion = 2;

  // A fresh address: the default internal word address LW 0.
  CAddr();
  explicit CAddr(int32_t a_Width);

  // The default address of the given width: internal.
  void Reset(int32_t a_Width);
  // The default address of the given width on a_Port (a project's lowest enabled port, or
  // kInternalPort), with the station the port's PLC starts with.
  void ResetToPort(int32_t a_Width, int32_t a_Port, const CEditorContext& a_Context);
  void CopyFrom(const CAddr& a_Other);
  void Serialize(CArchive& a_Ar) override;
  // The archived fields; the JSON form of an address is written by hand (ProjectJsonAddress).
  static const CFieldTable& Fields();

  // When the port is a it becomes b and the other way round; nothing when a equals b.
  void SwapPort(int32_t a_A, int32_t a_B);

  // Resets a port address whose port is marked in a_Changed (0..3).
  void ResetIfPortChanged(const std::array<bool, 4>& a_Changed);

  bool IsInternal() const { return m_Port == kInternalPort; }

  // The port register type of the address (by name among the bit types for a bit address,
  // else among the word and double-word types of the port's PLC model); null for internal
  // addresses and unknown names.
  const CRegisterType* FindType(const CEditorContext& a_Context) const;
  // A port address whose type the port's PLC model lacks: it compiles as the default
  // internal address.
  bool HasUnknownPortType(const CEditorContext& a_Context) const;
  // The 12-byte register descriptor (for an address with an unknown port type, that of the
  // default internal address of its width); the address itself never changes.
  std::array<uint8_t, 12> Descriptor(const CEditorContext& a_Context) const;
  // Appends the descriptor.
  void Compile(std::vector<uint8_t>& a_Bytes, const CEditorContext& a_Context) const;
  uint8_t GetRegIdForRegPrm(const CEditorContext& a_Context) const;
  uint8_t GetRegTypeForRegPrm(const CEditorContext& a_Context) const;

  // The number part as text: "12", "3.A" (address and sub-address, each in its base).
  std::string FormatNumber(const CEditorContext& a_Context) const;
  // Sets the address (and sub-address) from text in the form FormatNumber prints; false
  // when the text does not convert.
  bool ParseNumber(const std::string& a_Text, const CEditorContext& a_Context);
  // The hint text of the allowed range for the address's type.
  std::string RangeText(const CEditorContext& a_Context) const;
  // Checks type, address, sub-address and index against the type's ranges; the reason when
  // they do not fit.
  std::optional<std::string> Validate(const CEditorContext& a_Context) const;
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

}  // namespace kd820
