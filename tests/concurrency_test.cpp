// Every document function called from several threads at once, each call on
// its own file and containers, gives exactly what the same call gives alone.
// Built as its own program so that it also runs under ThreadSanitizer.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "document_calls.h"
#include "test_util.h"

namespace {

using testutil::AllCalls;
using testutil::CallOutcome;
using testutil::DocumentCall;

// The input of a call: the example document, or for a writer the records
// its reader takes from the example.
std::string InputOf(const DocumentCall& call) {
  const std::string example = std::string(TALVORO_EXAMPLES_DIR "/") + call.example;
  if (!call.recordsFrom) return testutil::ReadFile(example);
  return testutil::FindCall(call.recordsFrom)->run(example, "").bytes;
}

CallOutcome RunOn(const DocumentCall& call, const std::string& input, const std::string& path) {
  if (call.kind != testutil::CallKind::kWriter) testutil::WriteFile(path, input);
  return call.run(path, input);
}

TEST(Concurrency, ParallelCallsGiveTheSequentialResults) {
  testutil::TempDir dir;
  const std::vector<DocumentCall>& table = AllCalls();
  std::vector<std::string> inputs;
  std::vector<CallOutcome> alone;
  for (const DocumentCall& call : table) {
    inputs.push_back(InputOf(call));
    alone.push_back(RunOn(call, inputs.back(), dir / (std::string("alone-") + call.name)));
    ASSERT_TRUE(alone.back().result) << call.name;
    ASSERT_EQ(alone.back().fault, "") << call.name;
  }

  constexpr int kThreads = 6;
  constexpr int kRounds = 4;
  std::atomic<int> ready{0};
  std::vector<std::vector<std::string>> mismatches(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      ++ready;
      while (ready < kThreads)
        std::this_thread::yield();
      // Every thread runs every call, each starting at a different one.
      for (int round = 0; round < kRounds; ++round) {
        for (std::size_t k = 0; k < table.size(); ++k) {
          const std::size_t i = (k + static_cast<std::size_t>(t) * 5) % table.size();
          const std::string path =
              dir / (std::to_string(t) + "-" + std::to_string(round) + "-" + table[i].name);
          if (!(RunOn(table[i], inputs[i], path) == alone[i]))
            mismatches[static_cast<std::size_t>(t)].push_back(table[i].name);
        }
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  for (int t = 0; t < kThreads; ++t)
    EXPECT_TRUE(mismatches[static_cast<std::size_t>(t)].empty())
        << "thread " << t << " first differs in " << mismatches[static_cast<std::size_t>(t)][0];
}

}  // namespace
