#include "fault_env.h"

#include <algorithm>

namespace testutil {
namespace {

using talvoro::Status;

class FaultReadable : public talvoro::ReadableFile {
 public:
  FaultReadable(FaultEnv& env, std::unique_ptr<talvoro::ReadableFile> file)
      : env_(env), file_(std::move(file)) {}
  Status Read(char* buffer, std::size_t capacity, std::size_t* got) override {
    Status status;
    if (env_.Fails("Read", &status)) return status;
    status = file_->Read(buffer, env_.Limited(capacity), got);
    const std::string& scribble = env_.scribble();
    if (status.ok() && *got < capacity)
      scribble.copy(buffer + *got, std::min(scribble.size(), capacity - *got));
    return status;
  }

 private:
  FaultEnv& env_;
  std::unique_ptr<talvoro::ReadableFile> file_;
};

class FaultTemporary : public talvoro::TemporaryFile {
 public:
  FaultTemporary(FaultEnv& env, std::unique_ptr<talvoro::TemporaryFile> file)
      : env_(env), file_(std::move(file)) {}
  Status KeepOwner(const talvoro::FileFacts& target) override {
    Status status;
    return env_.Fails("KeepOwner", &status) ? status : file_->KeepOwner(target);
  }
  Status KeepAttributes(const std::string& target) override {
    Status status;
    return env_.Fails("KeepAttributes", &status) ? status : file_->KeepAttributes(target);
  }
  Status Write(const char* data, std::size_t size, std::size_t* written) override {
    Status status;
    return env_.Fails("Write", &status) ? status : file_->Write(data, env_.Limited(size), written);
  }
  Status Sync() override {
    Status status;
    return env_.Fails("Sync", &status) ? status : file_->Sync();
  }
  Status Link() override {
    Status status;
    return env_.Fails("Link", &status) ? status : file_->Link();
  }
  Status Close() override {
    Status status;
    return env_.Fails("Close", &status) ? status : file_->Close();
  }
  const std::string& Path() const override { return file_->Path(); }
  void Published() override { file_->Published(); }

 private:
  FaultEnv& env_;
  std::unique_ptr<talvoro::TemporaryFile> file_;
};

}  // namespace

bool FaultEnv::Fails(const char* name, Status* status) {
  const bool fail = static_cast<int>(calls_.size()) == failAt_;
  calls_.push_back(name);
  if (hook_) hook_(calls_.back());
  if (fail) *status = failure_;
  return fail;
}

bool FaultEnv::PathExists(const char* pattern) {
  Status status;
  return Fails("PathExists", &status) ? false : base_.PathExists(pattern);
}

Status FaultEnv::OpenForReading(const std::string& path,
                                std::unique_ptr<talvoro::ReadableFile>* file, std::uint64_t* size) {
  Status status;
  if (Fails("OpenForReading", &status)) return status;
  std::unique_ptr<talvoro::ReadableFile> real;
  status = base_.OpenForReading(path, &real, size);
  if (status.ok()) file->reset(new FaultReadable(*this, std::move(real)));
  return status;
}

Status FaultEnv::ResolveLinks(const std::string& path, std::string* target) {
  Status status;
  return Fails("ResolveLinks", &status) ? status : base_.ResolveLinks(path, target);
}

Status FaultEnv::Inspect(const std::string& path, talvoro::FileFacts* facts) {
  Status status;
  return Fails("Inspect", &status) ? status : base_.Inspect(path, facts);
}

Status FaultEnv::CreateTemporary(const std::string& folder, const talvoro::FileFacts& target,
                                 std::unique_ptr<talvoro::TemporaryFile>* file) {
  Status status;
  if (Fails("CreateTemporary", &status)) return status;
  std::unique_ptr<talvoro::TemporaryFile> real;
  status = base_.CreateTemporary(folder, target, &real);
  if (status.ok()) file->reset(new FaultTemporary(*this, std::move(real)));
  return status;
}

Status FaultEnv::Replace(const std::string& from, const std::string& to) {
  Status status;
  return Fails("Replace", &status) ? status : base_.Replace(from, to);
}

Status FaultEnv::SyncFolder(const std::string& folder) {
  Status status;
  return Fails("SyncFolder", &status) ? status : base_.SyncFolder(folder);
}

Status FaultEnv::ListFolder(const std::string& folder, std::vector<std::string>* names) {
  Status status;
  return Fails("ListFolder", &status) ? status : base_.ListFolder(folder, names);
}

Status FaultEnv::RemoveAbandoned(const std::string& path) {
  Status status;
  return Fails("RemoveAbandoned", &status) ? status : base_.RemoveAbandoned(path);
}

}  // namespace testutil
