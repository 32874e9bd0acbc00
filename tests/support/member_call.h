// A reader member of CTinyXmlHelper called as a host calls it, whatever its
// parameters: the path in its by-value CString, and fresh outputs for its
// reference parameters (a record of several arrays, a list, an array, the
// weather record, the version's strings). The tests, the fuzz targets and the
// benchmarks call every reader of the registry through it.
#ifndef TALVORO_TESTS_SUPPORT_MEMBER_CALL_H_
#define TALVORO_TESTS_SUPPORT_MEMBER_CALL_H_

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "talvoro/platform.h"

namespace testutil {

template <typename Member>
class MemberCall;
template <typename... P>
class MemberCall<bool (*)(P...)> {
 public:
  MemberCall(bool (*)(P...), const char* path) { SetPaths(path, Index()); }

  // Each output, with its index among the outputs: visit(output, index).
  template <typename Visit>
  void ForEachOutput(Visit visit) {
    std::size_t output = 0;
    ForEach(visit, output, Index());
  }
  // call(arguments...), the member's own or another with its parameters
  // (the host helper's).
  template <typename Call>
  bool operator()(Call call) {
    return std::apply(call, slots_);
  }

 private:
  using Index = std::index_sequence_for<P...>;
  template <std::size_t... I>
  void SetPaths(const char* path, std::index_sequence<I...>) {
    (SetPath<P>(std::get<I>(slots_), path), ...);
  }
  template <typename Parameter, typename Slot>
  static void SetPath(Slot& slot, const char* path) {
    if constexpr (!std::is_reference_v<Parameter>) slot = path;
  }
  template <typename Visit, std::size_t... I>
  void ForEach(Visit& visit, std::size_t& output, std::index_sequence<I...>) {
    (Visit1<P>(visit, std::get<I>(slots_), output), ...);
  }
  template <typename Parameter, typename Visit, typename Slot>
  static void Visit1(Visit& visit, Slot& slot, std::size_t& output) {
    if constexpr (std::is_reference_v<Parameter>) visit(slot, output++);
  }

  std::tuple<std::decay_t<P>...> slots_;
};
template <typename Member>
MemberCall(Member, const char*) -> MemberCall<Member>;

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_MEMBER_CALL_H_
