// What the record array's growth rule costs: CArrayTemplate::Add of N records
// against std::vector::push_back of the same records.
#include <vector>

#include <benchmark/benchmark.h>

#include "talvoro/talvoro.h"

namespace {

template <typename Record>
void ArrayAdd(benchmark::State& state) {
  Record record = {};
  for (auto _ : state) {
    CArrayTemplate<Record, const Record&> array;
    for (int64_t i = 0; i < state.range(0); ++i)
      array.Add(record);
    benchmark::DoNotOptimize(array.GetData());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <typename Record>
void VectorPushBack(benchmark::State& state) {
  Record record = {};
  for (auto _ : state) {
    std::vector<Record> vector;
    for (int64_t i = 0; i < state.range(0); ++i)
      vector.push_back(record);
    benchmark::DoNotOptimize(vector.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(ArrayAdd<tagServiceTypeInfo>)->RangeMultiplier(10)->Range(10, 100000);
BENCHMARK(VectorPushBack<tagServiceTypeInfo>)->RangeMultiplier(10)->Range(10, 100000);
BENCHMARK(ArrayAdd<tagServiceServerInfo>)->RangeMultiplier(10)->Range(10, 100000);
BENCHMARK(VectorPushBack<tagServiceServerInfo>)->RangeMultiplier(10)->Range(10, 100000);

}  // namespace
