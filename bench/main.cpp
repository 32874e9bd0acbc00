// The cost of every document function against the bare parser.
//
// For each function and size, "<function>/<size>/library" times the call and
// "<function>/<size>/tinyxml" its baseline (TinyXML's LoadFile plus a walk that
// touches the same attributes; for writers, TinyXML's in-place SaveFile). At
// the end a table gives each function's time as a ratio to its baseline.
// "Scaling/..." gives the time per element from 1 KB to 10 MB.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <ftw.h>
#include <stdlib.h>

#include "documents.h"

namespace {

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/talvoro-bench-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    ::nftw(
        path_.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string SizeName(std::size_t bytes) {
  return bytes >= (1u << 20) ? std::to_string(bytes >> 20) + "MB"
                             : std::to_string(bytes >> 10) + "KB";
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Prints what the console reporter prints, and keeps each run's time for the
// ratio table (the median when repetitions are asked for).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      std::string name = run.run_name.function_name;
      // Time in nanoseconds, whatever unit the benchmark prints in.
      times_[name] =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-22s %-6s %12s %12s %7s %7s\n", "function", "size", "library", "tinyxml",
                "ratio", "target");
    for (const auto& [name, time] : times_) {
      const std::string suffix = "/library";
      if (name.size() < suffix.size() ||
          name.compare(name.size() - suffix.size(), suffix.size(), suffix))
        continue;
      const std::string stem = name.substr(0, name.size() - suffix.size());
      auto base = times_.find(stem + "/tinyxml");
      if (base == times_.end()) continue;
      const std::size_t slash = stem.find('/');
      const std::string size = stem.substr(slash + 1);
      const double ratio = time / base->second;
      const bool writer = stem.rfind("Writting", 0) == 0 || stem.rfind("Set", 0) == 0 ||
                          stem.rfind("Delete", 0) == 0;
      const char* target = writer ? "-" : (size == "1MB" ? "1.50" : "1.10");
      std::printf("%-22s %-6s %10.1fus %10.1fus %7.3f %7s\n", stem.substr(0, slash).c_str(),
                  size.c_str(), time / 1e3, base->second / 1e3, ratio, target);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TempDir dir;
  auto cases = std::make_shared<std::vector<bench::Case>>(bench::DocumentCases());

  for (bench::Case& c : *cases) {
    for (std::size_t bytes : {std::size_t{4} << 10, std::size_t{1} << 20}) {
      const std::string path = dir.path() + "/" + c.name + "-" + SizeName(bytes) + ".xml";
      WriteFile(path, c.make(bytes));
      auto lib = std::make_shared<std::function<void()>>();
      auto base = std::make_shared<std::function<void()>>();
      c.prepare(path, *lib, *base);
      const std::string stem = c.name + "/" + SizeName(bytes);
      benchmark::RegisterBenchmark((stem + "/library").c_str(),
                                   [lib](benchmark::State& state) {
                                     for (auto _ : state)
                                       (*lib)();
                                   })
          ->Unit(benchmark::kMicrosecond)
          ->UseRealTime();
      benchmark::RegisterBenchmark((stem + "/tinyxml").c_str(),
                                   [base](benchmark::State& state) {
                                     for (auto _ : state)
                                       (*base)();
                                   })
          ->Unit(benchmark::kMicrosecond)
          ->UseRealTime();
    }
  }

  // Time per element as the document grows.
  for (const bench::Case& c : *cases) {
    if (c.name != "GetServiceData" && c.name != "GetSrvData" && c.name != "GetShutCutInfo")
      continue;
    for (std::size_t bytes : {std::size_t{1} << 10, std::size_t{10} << 10, std::size_t{100} << 10,
                              std::size_t{1} << 20, std::size_t{10} << 20}) {
      const std::string path = dir.path() + "/scaling-" + c.name + "-" + SizeName(bytes) + ".xml";
      const std::string xml = c.make(bytes);
      WriteFile(path, xml);
      const double elements = static_cast<double>(bench::CountElements(xml));
      auto lib = std::make_shared<std::function<void()>>();
      auto base = std::make_shared<std::function<void()>>();
      c.prepare(path, *lib, *base);
      const std::string stem = "Scaling/" + c.name + "/" + SizeName(bytes);
      for (const auto& [suffix, fn] : {std::make_pair(std::string("/library"), lib),
                                       std::make_pair(std::string("/tinyxml"), base)}) {
        benchmark::RegisterBenchmark((stem + suffix).c_str(),
                                     [fn = fn, elements](benchmark::State& state) {
                                       for (auto _ : state)
                                         (*fn)();
                                       state.counters["per_element"] = benchmark::Counter(
                                           elements, benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
                                     })
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
      }
    }
  }

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
