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
      : env_(env), file_(std::move(file)), model_(env.NewFile(file_->Path())) {}
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
    if (env_.Fails("Write", &status)) return status;
    status = file_->Write(data, env_.Limited(size), written);
    if (status.ok()) env_.Written(model_, data, *written);
    return status;
  }
  Status Sync() override {
    Status status;
    if (env_.Fails("Sync", &status)) return status;
    status = file_->Sync();
    if (status.ok()) env_.FileSynced(model_);
    return status;
  }
  Status Link() override {
    Status status;
    if (env_.Fails("Link", &status)) return status;
    const bool unnamed = file_->Path().empty();
    status = file_->Link();
    if (status.ok() && unnamed) env_.Named(model_, file_->Path());
    return status;
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
  int model_;  // the file in the power model
};

}  // namespace

bool FaultEnv::Fails(const char* name, Status* status) {
  const int index = static_cast<int>(calls_.size());
  calls_.push_back(name);
  if (cutAt_ >= 0 && index >= cutAt_) {
    *status = Status(talvoro::Reason::kWriteFailed, "the power is off");
    return true;
  }
  if (hook_) hook_(calls_.back());
  if (index == failAt_) *status = failure_;
  return index == failAt_;
}

void FaultEnv::Existing(const std::string& path, std::string bytes) {
  files_.push_back({bytes, bytes});
  durableNames_[path] = static_cast<int>(files_.size()) - 1;
}

int FaultEnv::NewFile(const std::string& name) {
  files_.push_back({});
  const int file = static_cast<int>(files_.size()) - 1;
  if (!name.empty()) Named(file, name);
  return file;
}

void FaultEnv::Written(int file, const char* data, std::size_t size) {
  files_[file].written.append(data, size);
}

void FaultEnv::FileSynced(int file) {
  if (trusted_.files) files_[file].durable = files_[file].written;
}

void FaultEnv::Named(int file, const std::string& name) {
  pendingNames_.push_back({"", name, file});
}

std::vector<std::optional<std::string>> FaultEnv::AfterPowerCut(const std::string& path) const {
  std::vector<std::optional<std::string>> contents;
  const auto add = [&contents](std::optional<std::string> content) {
    if (std::find(contents.begin(), contents.end(), content) == contents.end())
      contents.push_back(std::move(content));
  };
  for (std::size_t kept = 0; kept <= pendingNames_.size(); ++kept) {
    const std::map<std::string, int> names = NamesAfter(kept);
    const auto named = names.find(path);
    if (named == names.end()) {
      add(std::nullopt);
      continue;
    }
    const File& file = files_[named->second];
    for (std::size_t extra = 0; file.durable.size() + extra <= file.written.size(); ++extra)
      add(file.durable + file.written.substr(file.durable.size(), extra));
  }
  return contents;
}

std::map<std::string, int> FaultEnv::NamesAfter(std::size_t kept) const {
  std::map<std::string, int> names = durableNames_;
  for (std::size_t i = 0; i < kept; ++i) {
    const NameChange& change = pendingNames_[i];
    if (!change.from.empty()) names.erase(change.from);
    names[change.to] = change.file;
  }
  return names;
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
  if (Fails("Replace", &status)) return status;
  status = base_.Replace(from, to);
  if (status.ok()) {
    const std::map<std::string, int> names = NamesAfter(pendingNames_.size());
    const auto named = names.find(from);
    if (named != names.end()) pendingNames_.push_back({from, to, named->second});
  }
  return status;
}

Status FaultEnv::SyncFolder(const std::string& folder) {
  Status status;
  if (Fails("SyncFolder", &status)) return status;
  status = base_.SyncFolder(folder);
  if (status.ok() && trusted_.folders) {
    durableNames_ = NamesAfter(pendingNames_.size());
    pendingNames_.clear();
  }
  return status;
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
