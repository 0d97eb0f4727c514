// The loader's download over loopback UDP against the emulated panel: the time of the whole
// download divided by (exchanges x the measured loopback round trip of one exchange). A ratio
// near 1 means the loader adds nothing to the link's own latency; the goal is at most 1.2.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "loader/LoaderProtocol.h"
#include "loader/emulator/EmulatorServer.h"

namespace {

class QuietView : public nd620::ILoaderView {
 public:
  void ProgressChanged(const nd620::ProgressBar&) override {}
  void ShowError(const std::string& a_Text, const std::string& a_Detail) override {
    std::fprintf(stderr, "%s %s\n", a_Text.c_str(), a_Detail.c_str());
  }
};

// A format-2 package with a_UserBytes of user data and a small firmware the panel already runs.
std::string WritePackage(std::size_t a_UserBytes) {
  std::vector<uint8_t> user(a_UserBytes);
  for (std::size_t i = 0; i < user.size(); ++i) user[i] = static_cast<uint8_t>(i * 31);
  pkg::PackageHeader header;
  header.m_Format = 2;
  header.m_UserData.m_Offset = 108;
  header.m_UserData.m_Size = static_cast<uint32_t>(user.size());
  for (uint8_t b : user) header.m_UserData.m_Sum += b;
  header.m_Gui1 = {static_cast<uint32_t>(108 + user.size()), 0, 1, 0};
  const auto bytes = header.Encode2();
  const std::string path = "/tmp/wt-loader-bench-" + std::to_string(::getpid()) + ".td";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fwrite(user.data(), 1, user.size(), file);
  std::fclose(file);
  return path;
}

void BM_UdpDownloadAgainstRoundTrips(benchmark::State& a_State) {
  const std::string package = WritePackage(static_cast<std::size_t>(a_State.range(0)));
  double ratio = 0, exchanges = 0, roundTripUs = 0, downloadMs = 0;
  for (auto _ : a_State) {
    nd620::EmulatorConfig config;
    config.m_GuiVersion = 0xFFFF;  // no firmware update
    nd620::EmulatorServer server(config);
    std::string error;
    if (!server.OpenUdp(0, error)) {
      a_State.SkipWithError(error.c_str());
      return;
    }
    std::thread serve([&] { server.Run(0, 0); });
    QuietView view;
    nd620::TransportSettings settings;
    settings.m_Kind = nd620::kNetwork;
    settings.m_Address = "127.0.0.1";
    settings.m_Port = std::to_string(server.UdpPort());
    nd620::ProtocolTiming timing;
    timing.m_InfoDelayMs = 0;

    // One exchange's round trip: device information, many times.
    nd620::LoaderProtocol probe(view);
    probe.SetTransportSettings(settings);
    probe.SetTiming(timing);
    probe.Connect();
    constexpr int kProbes = 500;
    nd620::SlaveInfo info;
    const auto p0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kProbes; ++i) probe.GetInformation(info);
    const double rtt = std::chrono::duration<double>(std::chrono::steady_clock::now() - p0).count() / kProbes;
    probe.Close();

    nd620::LoaderProtocol loader(view);
    loader.SetTransportSettings(settings);
    loader.SetTiming(timing);
    loader.SetPackagePath(package);
    const auto t0 = std::chrono::steady_clock::now();
    const bool ok = loader.DownloadProject();
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    server.Stop();
    serve.join();
    if (!ok) {
      a_State.SkipWithError("download failed");
      return;
    }
    exchanges = static_cast<double>(loader.Exchanges());
    ratio = took / (exchanges * rtt);
    roundTripUs = rtt * 1e6;
    downloadMs = took * 1e3;
  }
  std::remove(package.c_str());
  a_State.counters["exchanges"] = exchanges;
  a_State.counters["round_trip_us"] = roundTripUs;
  a_State.counters["download_ms"] = downloadMs;
  a_State.counters["ratio"] = ratio;
}
BENCHMARK(BM_UdpDownloadAgainstRoundTrips)->Arg(64 * 1024)->Arg(100 * 1024)->Unit(benchmark::kMillisecond);

}  // namespace
