// A file layer for tests: it passes every call to the system's Env and fails
// the one chosen, so that each failure path of loading and saving can be
// walked in turn. Every call counts, those of the files it hands out too, in
// the order they are made.
#ifndef TALVORO_TESTS_SUPPORT_FAULT_ENV_H_
#define TALVORO_TESTS_SUPPORT_FAULT_ENV_H_

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "frame/env.h"

namespace testutil {

class FaultEnv : public talvoro::Env {
 public:
  explicit FaultEnv(talvoro::Env& base = talvoro::Env::Default()) : base_(base) {}

  // Makes call number `index` (from 0) answer `failure` without reaching the
  // system.
  void FailCall(int index, talvoro::Status failure) {
    failAt_ = index;
    failure_ = std::move(failure);
  }
  // Runs before every call, with its name (to pause a save, say).
  void OnCall(std::function<void(const std::string&)> hook) { hook_ = std::move(hook); }
  // Lets no write or read move more than `bytes` at once.
  void LimitTransfers(std::size_t bytes) { transferLimit_ = bytes; }
  // After each read, writes `bytes` into the buffer past what was read (as
  // far as it goes): a caller may rely on no byte it did not get.
  void ScribbleAfterReads(std::string bytes) { scribble_ = std::move(bytes); }
  const std::string& scribble() const { return scribble_; }

  // The calls made so far, by name ("Write", "Replace", ...).
  const std::vector<std::string>& calls() const { return calls_; }

  // Counts a call; true when it is the one to fail (then *status is set).
  bool Fails(const char* name, talvoro::Status* status);
  std::size_t Limited(std::size_t bytes) const {
    return transferLimit_ && bytes > transferLimit_ ? transferLimit_ : bytes;
  }

  bool PathExists(const char* pattern) override;
  talvoro::Status OpenForReading(const std::string& path,
                                 std::unique_ptr<talvoro::ReadableFile>* file,
                                 std::uint64_t* size) override;
  talvoro::Status ResolveLinks(const std::string& path, std::string* target) override;
  talvoro::Status Inspect(const std::string& path, talvoro::FileFacts* facts) override;
  talvoro::Status CreateTemporary(const std::string& folder, const talvoro::FileFacts& target,
                                  std::unique_ptr<talvoro::TemporaryFile>* file) override;
  talvoro::Status Replace(const std::string& from, const std::string& to) override;
  talvoro::Status SyncFolder(const std::string& folder) override;
  talvoro::Status ListFolder(const std::string& folder, std::vector<std::string>* names) override;
  talvoro::Status RemoveAbandoned(const std::string& path) override;
  void Split(const std::string& path, std::string* folder, std::string* name) const override {
    base_.Split(path, folder, name);
  }
  std::string Join(const std::string& folder, const std::string& name) const override {
    return base_.Join(folder, name);
  }
  const char* LineBreak() const override { return base_.LineBreak(); }

 private:
  talvoro::Env& base_;
  int failAt_ = -1;
  talvoro::Status failure_;
  std::size_t transferLimit_ = 0;
  std::string scribble_;
  std::vector<std::string> calls_;
  std::function<void(const std::string&)> hook_;
};

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_FAULT_ENV_H_
