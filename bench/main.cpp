// The cost of every document function against the bare parser.
//
// For each function and size, "<function>/<size>/library" times the call and
// "<function>/<size>/tinyxml" its baseline (TinyXML's LoadFile plus a walk that
// touches the same attributes; for writers, TinyXML's in-place SaveFile). At
// the end a table gives each function's time as a ratio to its baseline.
// "Scaling/..." gives the time per element from 1 KB to 10 MB.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>

#include <benchmark/benchmark.h>

#include "documents.h"
#include "talvoro/talvoro.h"
#include "temp_dir.h"

namespace {

std::string SizeName(std::size_t bytes) {
  return bytes >= (1u << 20) ? std::to_string(bytes >> 20) + "MB"
                             : std::to_string(bytes >> 10) + "KB";
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Bytes that appending `count` records of `size` bytes one by one copies when
// the array grows by the automatic step (an eighth of the size, 4 to 1024).
double GrowthCopyBytes(long count, std::size_t size) {
  double copied = 0;
  long capacity = 0;
  for (long n = 0; n < count; ++n) {
    if (n + 1 > capacity) {
      copied += static_cast<double>(n) * static_cast<double>(size);
      capacity = n + 1 + std::clamp(n / 8, 4L, 1024L);
    }
  }
  return copied;
}

// What the growth rule copies while a library call fills its arrays.
double GrowthCopyBytesOf(const std::string& function, const std::string& path) {
  if (function == "GetServiceData") {
    tagServerListInfo info;
    CTinyXmlHelper::GetServiceData(info, path.c_str());
    return GrowthCopyBytes(info.types.GetCount(), sizeof(tagServiceTypeInfo)) +
           GrowthCopyBytes(info.kinds.GetCount(), sizeof(tagServiceKindInfo)) +
           GrowthCopyBytes(info.servers.GetCount(), sizeof(tagServiceServerInfo));
  }
  if (function == "GetShutCutInfo") {
    CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
    CTinyXmlHelper::GetShutCutInfo(array, path.c_str());
    return GrowthCopyBytes(array.GetCount(), sizeof(tagShortCutInfo));
  }
  return 0;  // lists do not copy on growth
}

// Prints what the console reporter prints, keeps each run's time (the median
// when repetitions are asked for) and at the end prints two tables: each
// function's time as a ratio to its baseline, and the time per element as
// documents grow.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // `scalingFiles`: the document of each "function/size" scaling case.
  explicit RatioReporter(const std::map<std::string, std::string>& scalingFiles)
      : ConsoleReporter(OO_Tabular), scalingFiles_(scalingFiles) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      const std::string& name = run.run_name.function_name;
      // Time in nanoseconds, whatever unit the benchmark prints in.
      times_[name] =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
      auto perElement = run.counters.find("per_element");
      if (perElement != run.counters.end()) perElement_[name] = perElement->second.value * 1e9;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-26s %-6s %12s %12s %7s %7s\n", "function", "size", "library", "tinyxml",
                "ratio", "target");
    ForEachPair(times_, "",
                [](const std::string& function, const std::string& size, double lib, double base) {
                  const bool writer = function.rfind("Writting", 0) == 0 ||
                                      function.rfind("Set", 0) == 0 ||
                                      function.rfind("Delete", 0) == 0;
                  const char* target = writer ? "-" : (size == "1MB" ? "1.50" : "1.10");
                  std::printf("%-26s %-6s %10.1fus %10.1fus %7.3f %7s\n", function.c_str(),
                              size.c_str(), lib / 1e3, base / 1e3, lib / base, target);
                });
    std::printf("\n%-26s %-6s %14s %14s %7s %14s\n", "scaling", "size", "library/elem",
                "tinyxml/elem", "ratio", "growth copies");
    ForEachPair(
        perElement_, "Scaling/",
        [this](const std::string& function, const std::string& size, double lib, double base) {
          const double copies =
              GrowthCopyBytesOf(function, scalingFiles_.at(function + "/" + size));
          std::printf("%-26s %-6s %12.1fns %12.1fns %7.3f %12.1fMB\n", function.c_str(),
                      size.c_str(), lib, base, lib / base, copies / (1 << 20));
        });
  }

 private:
  // Calls `print(function, size, library, baseline)` for every
  // "<prefix><function>/<size>/library" that has its "/tinyxml" partner.
  template <typename Print>
  static void ForEachPair(const std::map<std::string, double>& values, const std::string& prefix,
                          Print print) {
    const std::string suffix = "/library";
    for (const auto& [name, value] : values) {
      if (name.compare(0, prefix.size(), prefix) != 0) continue;
      if (prefix.empty() && name.rfind("Scaling/", 0) == 0) continue;
      if (name.size() < suffix.size() + prefix.size() ||
          name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        continue;
      }
      const std::string stem = name.substr(0, name.size() - suffix.size());
      auto base = values.find(stem + "/tinyxml");
      if (base == values.end()) continue;
      const std::string key = stem.substr(prefix.size());
      const std::size_t slash = key.find('/');
      print(key.substr(0, slash), key.substr(slash + 1), value, base->second);
    }
  }

  std::map<std::string, double> times_;
  std::map<std::string, double> perElement_;
  const std::map<std::string, std::string>& scalingFiles_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  testutil::TempDir dir;
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
  std::map<std::string, std::string> scalingFiles;
  for (const bench::Case& c : *cases) {
    static const std::set<std::string> scaled = {"GetServiceData", "GetServiceData(reserved)",
                                                 "GetShutCutInfo", "GetShutCutInfo(reserved)",
                                                 "GetSrvData"};
    if (!scaled.count(c.name)) continue;
    for (std::size_t bytes : {std::size_t{1} << 10, std::size_t{10} << 10, std::size_t{100} << 10,
                              std::size_t{1} << 20, std::size_t{10} << 20}) {
      const std::string path = dir.path() + "/scaling-" + c.name + "-" + SizeName(bytes) + ".xml";
      const std::string xml = c.make(bytes);
      WriteFile(path, xml);
      const double elements = static_cast<double>(bench::CountElements(xml));
      scalingFiles[c.name + "/" + SizeName(bytes)] = path;
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

  RatioReporter reporter(scalingFiles);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
