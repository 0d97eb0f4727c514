#include "platform/Diagnostics.h"

#include <iostream>

namespace {
std::function<void(const std::string&)>& Sink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}
}  // namespace

void ReportDiagnostic(const std::string& a_Text) {
  if (Sink()) {
    Sink()(a_Text);
  } else {
    std::cerr << a_Text << "\n";
  }
}

std::function<void(const std::string&)> SetDiagnosticSink(
    std::function<void(const std::string&)> a_Sink) {
  auto previous = std::move(Sink());
  Sink() = std::move(a_Sink);
  return previous;
}
