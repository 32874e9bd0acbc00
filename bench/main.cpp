// The cost of every document function against the bare parser.
//
// For each function and size, "<function>/<size>/library" times the call and
// "<function>/<size>/tinyxml" its baseline (TinyXML's LoadFile plus a walk that
// touches the same attributes; for writers, TinyXML's in-place SaveFile). At
// the end a table gives each function's time as a ratio to its baseline.
// "Scaling/..." gives the time per record of every array reader (and, for
// comparison, a list reader) from 1 MB to 64 MiB, the largest document the
// library reads. "CInterface/<reader>/1MB" times each reader through the C
// interface (a host's callback copying every record into a growing buffer,
// as appending to an array does) against the exported class.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "documents.h"
#include "talvoro/talvoro.h"
#include "temp_dir.h"

namespace {

// Rounded to the nearest unit: the largest scaling document stays a little
// under 64 MiB and is still called 64MB.
std::string SizeName(std::size_t bytes) {
  return bytes >= (1u << 20) ? std::to_string((bytes + (1u << 19)) >> 20) + "MB"
                             : std::to_string((bytes + (1u << 9)) >> 10) + "KB";
}

// Whether --benchmark_filter lets one of the stem's two benchmarks
// ("<stem>/library", "<stem>/tinyxml") run, so that documents no benchmark
// reads are neither generated nor read (under callgrind the 64 MB ones
// would take minutes). A leading '-' negates the filter.
bool Wanted(const std::string& stem) {
  std::string filter = benchmark::GetBenchmarkFilter();
  if (filter.empty() || filter == "all") return true;
  const bool negated = filter[0] == '-';
  if (negated) filter.erase(0, 1);
  const std::regex pattern(filter);
  for (const char* suffix : {"/library", "/tinyxml"}) {
    if (std::regex_search(stem + suffix, pattern) != negated) return true;
  }
  return false;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Prints what the console reporter prints, keeps each run's time (the median
// when repetitions are asked for) and at the end prints two tables: each
// function's time as a ratio to its baseline, and the time per record as
// documents grow.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // `scalingRecords`: the records of each "function/size" scaling case.
  explicit RatioReporter(const std::map<std::string, double>& scalingRecords)
      : ConsoleReporter(OO_Tabular), scalingRecords_(scalingRecords) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      const std::string& name = run.run_name.function_name;
      // Time in nanoseconds, whatever unit the benchmark prints in.
      times_[name] =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
      auto perRecord = run.counters.find("per_record");
      if (perRecord != run.counters.end()) perRecord_[name] = perRecord->second.value * 1e9;
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
    std::printf("\n%-26s %-6s %12s %12s %7s %7s\n", "C interface", "size", "C", "class", "ratio",
                "target");
    ForEachPair(times_, "CInterface/",
                [](const std::string& function, const std::string& size, double c, double cpp) {
                  std::printf("%-26s %-6s %10.1fus %10.1fus %7.3f %7s\n", function.c_str(),
                              size.c_str(), c / 1e3, cpp / 1e3, c / cpp, "1.05");
                });
    std::printf("\n%-26s %-6s %9s %13s %13s %7s %7s\n", "scaling", "size", "records", "library/rec",
                "tinyxml/rec", "ratio", "vs 1MB");
    ForEachPair(
        perRecord_, "Scaling/",
        [this](const std::string& function, const std::string& size, double lib, double base) {
          auto first = perRecord_.find("Scaling/" + function + "/1MB/library");
          const double vsFirst = first == perRecord_.end() ? 0 : lib / first->second;
          std::printf("%-26s %-6s %9.0f %11.1fns %11.1fns %7.3f %7.2f\n", function.c_str(),
                      size.c_str(), scalingRecords_.at(function + "/" + size), lib, base,
                      lib / base, vsFirst);
        });
  }

 private:
  // Calls `print(function, size, library, baseline)` for every
  // "<prefix><function>/<size>/library" that has its "/tinyxml" partner, by
  // function and then by growing size.
  template <typename Print>
  static void ForEachPair(const std::map<std::string, double>& values, const std::string& prefix,
                          Print print) {
    struct Row {
      std::string function, size;
      double library, baseline;
    };
    std::vector<Row> rows;
    const std::string suffix = "/library";
    for (const auto& [name, value] : values) {
      if (name.compare(0, prefix.size(), prefix) != 0) continue;
      if (prefix.empty() && (name.rfind("Scaling/", 0) == 0 || name.rfind("CInterface/", 0) == 0))
        continue;
      if (name.size() < suffix.size() + prefix.size() ||
          name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        continue;
      }
      const std::string stem = name.substr(0, name.size() - suffix.size());
      auto base = values.find(stem + "/tinyxml");
      if (base == values.end()) continue;
      const std::string key = stem.substr(prefix.size());
      const std::size_t slash = key.find('/');
      rows.push_back({key.substr(0, slash), key.substr(slash + 1), value, base->second});
    }
    // "4KB" and "64MB": the unit's first letter orders K before M.
    const auto bytes = [](const std::string& size) {
      return std::make_pair(size.substr(size.size() - 2), std::stod(size));
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
      return a.function != b.function ? a.function < b.function : bytes(a.size) < bytes(b.size);
    });
    for (const Row& row : rows)
      print(row.function, row.size, row.library, row.baseline);
  }

  std::map<std::string, double> times_;
  std::map<std::string, double> perRecord_;
  const std::map<std::string, double>& scalingRecords_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  testutil::TempDir dir;
  auto cases = std::make_shared<std::vector<bench::Case>>(bench::DocumentCases());

  for (bench::Case& c : *cases) {
    for (std::size_t bytes : {std::size_t{4} << 10, std::size_t{1} << 20}) {
      if (!Wanted(c.name + "/" + SizeName(bytes))) continue;
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

  // Time per record as the document grows, up to the largest document the
  // library reads (64 MiB; the generator may overshoot by one item, hence the margin).
  std::map<std::string, double> scalingRecords;
  for (const bench::Case& c : *cases) {
    static const std::set<std::string> scaled = {
        "GetServiceData", "GetServiceData(reserved)", "GetPartData", "GetAreaData",
        "GetShutCutInfo", "GetShutCutInfo(reserved)", "GetSrvData"};
    if (!scaled.count(c.name)) continue;
    for (std::size_t bytes : {std::size_t{1} << 20, std::size_t{4} << 20, std::size_t{16} << 20,
                              (std::size_t{64} << 20) - (std::size_t{64} << 10)}) {
      if (!Wanted("Scaling/" + c.name + "/" + SizeName(bytes))) continue;
      const std::string path = dir.path() + "/scaling-" + c.name + "-" + SizeName(bytes) + ".xml";
      WriteFile(path, c.make(bytes));
      const double records = static_cast<double>(bench::RecordsOf(c.name, path));
      scalingRecords[c.name + "/" + SizeName(bytes)] = records;
      auto lib = std::make_shared<std::function<void()>>();
      auto base = std::make_shared<std::function<void()>>();
      c.prepare(path, *lib, *base);
      const std::string stem = "Scaling/" + c.name + "/" + SizeName(bytes);
      for (const auto& [suffix, fn] : {std::make_pair(std::string("/library"), lib),
                                       std::make_pair(std::string("/tinyxml"), base)}) {
        benchmark::RegisterBenchmark((stem + suffix).c_str(),
                                     [fn = fn, records](benchmark::State& state) {
                                       for (auto _ : state)
                                         (*fn)();
                                       state.counters["per_record"] = benchmark::Counter(
                                           records, benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
                                     })
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
      }
    }
  }

  // The C interface against the exported class, reader by reader.
  for (bench::Case& c : *cases) {
    const std::size_t bytes = std::size_t{1} << 20;
    const std::string stem = "CInterface/" + c.name + "/" + SizeName(bytes);
    if (!Wanted(stem)) continue;
    const std::string path = dir.path() + "/c-" + c.name + ".xml";
    auto cPath = std::make_shared<std::function<void()>>(bench::CInterfaceCall(c.name, path));
    if (!*cPath) continue;
    WriteFile(path, c.make(bytes));
    auto lib = std::make_shared<std::function<void()>>();
    auto base = std::make_shared<std::function<void()>>();
    c.prepare(path, *lib, *base);
    for (const auto& [suffix, fn] : {std::make_pair(std::string("/library"), cPath),
                                     std::make_pair(std::string("/tinyxml"), lib)}) {
      benchmark::RegisterBenchmark((stem + suffix).c_str(),
                                   [fn = fn](benchmark::State& state) {
                                     for (auto _ : state)
                                       (*fn)();
                                   })
          ->Unit(benchmark::kMicrosecond)
          ->UseRealTime();
    }
  }

  RatioReporter reporter(scalingRecords);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
