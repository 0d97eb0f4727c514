#pragma once
// KD820 models and KD820 plcs: readable listings of the shipped hardware and PLC libraries.
#include <ostream>

namespace kd820 {

// Every hardware model with its wizard texts, ports and keys. 0, or 1 when the library has no
// model (or a listed model no longer loads).
int RunModelsCommand(std::ostream& a_Out);
// Every manufacturer with its protocols: identity, stations, default serial parameters and
// timing, the supported PLCs and every register type with its range. 0, or 1 when the library
// is empty or a listed protocol no longer loads.
int RunPlcsCommand(std::ostream& a_Out);

}  // namespace kd820
