#pragma once
// A readable summary of a project for the command line.
#include <ostream>
#include <string>

namespace kd820 {

class CKV410Project;
class CAddr;

void PrintProjectInfo(const CKV410Project& a_Project, std::ostream& a_Out);
// An address as a short text: port, type name and number ("COM0:D100", "LW.B3.A").
std::string DescribeAddress(const CAddr& a_Addr);

}  // namespace kd820
