// The loader's download over loopback UDP against the emulated panel: the time of the whole
// download divided by (exchanges x the measured loopback round trip of one exchange). A ratio
// near 1 means the loader adds nothing to the link's own latency; the goal is at most 1.2.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
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
  // Per iteration; the counters give the medians, so that a download or a round trip that the
  // scheduler happened to delay does not decide the result.
  std::vector<double> ratios, roundTrips, downloads, blockRatios, blockTrips;
  double exchanges = 0;
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

    // One exchange's round trip: device information, many times, before and after the
    // download, so that both see the machine in the same state.
    const auto roundTrip = [&] {
      nd620::LoaderProtocol probe(view);
      probe.SetTransportSettings(settings);
      probe.SetTiming(timing);
      probe.Connect();
      constexpr int kProbes = 300;
      nd620::SlaveInfo info;
      const auto p0 = std::chrono::steady_clock::now();
      for (int i = 0; i < kProbes; ++i) probe.GetInformation(info);
      return std::chrono::duration<double>(std::chrono::steady_clock::now() - p0).count() / kProbes;
    };
    // The same for a full data block (1016 bytes out, its short reply back).
    const auto blockRoundTrip = [&] {
      nd620::LoaderProtocol probe(view);
      probe.SetTransportSettings(settings);
      probe.SetTiming(timing);
      probe.Connect();
      probe.EnterDownloadMode();
      constexpr int kProbes = 300;
      probe.BeginSection(2, 0, kProbes * 1016u, 0, 0);
      const std::vector<uint8_t> block(1016, 0);
      const auto p0 = std::chrono::steady_clock::now();
      for (int i = 0; i < kProbes; ++i) probe.DataBlock(block.data(), block.size(), static_cast<uint16_t>(i));
      return std::chrono::duration<double>(std::chrono::steady_clock::now() - p0).count() / kProbes;
    };
    const double before = roundTrip();
    const double blockBefore = blockRoundTrip();

    nd620::LoaderProtocol loader(view);
    loader.SetTransportSettings(settings);
    loader.SetTiming(timing);
    loader.SetPackagePath(package);
    const auto t0 = std::chrono::steady_clock::now();
    const bool ok = loader.DownloadProject();
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double rtt = (before + roundTrip()) / 2;
    const double blockRtt = (blockBefore + blockRoundTrip()) / 2;
    server.Stop();
    serve.join();
    if (!ok) {
      a_State.SkipWithError("download failed");
      return;
    }
    exchanges = static_cast<double>(loader.Exchanges());
    ratios.push_back(took / (exchanges * rtt));
    blockRatios.push_back(took / (exchanges * blockRtt));
    blockTrips.push_back(blockRtt * 1e6);
    roundTrips.push_back(rtt * 1e6);
    downloads.push_back(took * 1e3);
  }
  const auto median = [](std::vector<double> a_Values) {
    if (a_Values.empty()) return 0.0;
    std::sort(a_Values.begin(), a_Values.end());
    return a_Values[a_Values.size() / 2];
  };
  std::remove(package.c_str());
  a_State.counters["exchanges"] = exchanges;
  a_State.counters["round_trip_us"] = median(roundTrips);
  a_State.counters["download_ms"] = median(downloads);
  a_State.counters["ratio"] = median(ratios);
  a_State.counters["block_round_trip_us"] = median(blockTrips);
  a_State.counters["ratio_to_blocks"] = median(blockRatios);
}
BENCHMARK(BM_UdpDownloadAgainstRoundTrips)->Arg(64 * 1024)->Arg(100 * 1024)->Unit(benchmark::kMillisecond);

}  // namespace
