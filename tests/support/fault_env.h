// A file layer for tests: it passes every call to the system's Env and fails
// the one chosen, so that each failure path of loading and saving can be
// walked in turn. Every call counts, those of the files it hands out too, in
// the order they are made.
#ifndef TALVORO_TESTS_SUPPORT_FAULT_ENV_H_
#define TALVORO_TESTS_SUPPORT_FAULT_ENV_H_

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "os/env.h"

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

  // A power cut, in the spirit of SQLite's crash tests. From call `index` on
  // (counted as FailCall counts) nothing reaches the system: the machine has
  // stopped, and every later call fails. What its disk then holds follows
  // from the calls made before, by this model:
  //  - a file's bytes are durable once a Sync of the file follows their
  //    Write; bytes written since its last Sync may all be lost, or kept up
  //    to any byte (a torn write);
  //  - a change of names in a folder (a named temporary file created, an
  //    unnamed one linked, a Replace) is durable once a SyncFolder follows
  //    it; the changes since the last SyncFolder may be lost from any one of
  //    them on, in the order they were made (a journal replays a prefix);
  //  - what stood before the save (see Existing) is durable.
  // With `trustSyncs` false for files or folders, the disk ignores those
  // syncs, as one that lies about its cache does.
  void CutPowerAt(int index) { cutAt_ = index; }
  struct Syncs {
    bool files = true;
    bool folders = true;
  };
  void TrustSyncs(Syncs trusted) { trusted_ = trusted; }
  // Tells the model that `path` holds `bytes` durably before the save.
  void Existing(const std::string& path, std::string bytes);
  // Every content the file at `path` may have after the cut; nullopt stands
  // for no file at all.
  std::vector<std::optional<std::string>> AfterPowerCut(const std::string& path) const;

  // The model's bookkeeping, for the files this Env hands out.
  int NewFile(const std::string& name);
  void Written(int file, const char* data, std::size_t size);
  void FileSynced(int file);
  void Named(int file, const std::string& name);

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
  std::unique_ptr<talvoro::Charset> OpenCharset(const std::string& name) override {
    return base_.OpenCharset(name);
  }
  // The host's narrow set as the base Env tells it, or as PretendNarrowCharset says.
  std::string NarrowCharset() override { return narrow_ ? *narrow_ : base_.NarrowCharset(); }
  void PretendNarrowCharset(std::string name) { narrow_ = std::move(name); }

 private:
  talvoro::Env& base_;
  int failAt_ = -1;
  talvoro::Status failure_;
  std::size_t transferLimit_ = 0;
  std::string scribble_;
  std::optional<std::string> narrow_;

  int cutAt_ = -1;
  Syncs trusted_;
  struct File {
    std::string durable;  // synced
    std::string written;  // all written, the synced bytes first
  };
  std::vector<File> files_;
  // A change of names: `to` names file `file`; `from`, when not empty, is
  // the name it had before (a rename).
  struct NameChange {
    std::string from, to;
    int file;
  };
  std::map<std::string, int> durableNames_;
  std::vector<NameChange> pendingNames_;
  // The durable names with the first `kept` pending changes made.
  std::map<std::string, int> NamesAfter(std::size_t kept) const;
  std::vector<std::string> calls_;
  std::function<void(const std::string&)> hook_;
};

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_FAULT_ENV_H_
