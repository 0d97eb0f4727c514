#pragma once
// The editor's internal diagnostics ("Error Load XML: ...", conversion errors): written to
// standard error, or to a sink that tests install.
#include <functional>
#include <string>

void ReportDiagnostic(const std::string& a_Text);
// Replaces the sink; an empty function restores standard error. Returns the previous sink.
std::function<void(const std::string&)> SetDiagnosticSink(std::function<void(const std::string&)> a_Sink);
