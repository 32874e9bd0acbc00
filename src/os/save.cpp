#include "os/save.h"

#include <memory>
#include <string>
#include <vector>

namespace talvoro {
namespace {

Status WriteAll(TemporaryFile& file, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    std::size_t written = 0;
    TALVORO_RETURN_IF_ERROR(file.Write(text.data() + done, text.size() - done, &written));
    if (written == 0) return Status(Reason::kWriteFailed, "nothing was written");
    done += written;
  }
  return Status::Ok();
}

// Removes what killed saves left in `folder`. Only files named as this
// library names its temporary files, and only those no save holds; whatever
// cannot be removed stays, and the save goes on.
void RemoveLeftovers(Env& env, const std::string& folder) {
  std::vector<std::string> names;
  if (!env.ListFolder(folder, &names).ok()) return;
  for (const std::string& name : names) {
    if (IsTemporaryName(name)) env.RemoveAbandoned(env.Join(folder, name));
  }
}

}  // namespace

Status ReplaceFile(Env& env, const char* path, const SaveText& print) {
  TALVORO_RETURN_IF_ERROR(CheckPath(path));
  if (!*path) return Status(Reason::kTargetNotRegular, "the path is empty");
  std::string target, folder, name;
  TALVORO_RETURN_IF_ERROR(env.ResolveLinks(path, &target));
  env.Split(target, &folder, &name);
  if (name.empty()) return Status(Reason::kTargetNotRegular, "the path names a folder");

  FileFacts facts;
  TALVORO_RETURN_IF_ERROR(env.Inspect(target, &facts));
  if (facts.exists) {
    if (!facts.regular) return Status(Reason::kTargetNotRegular);
    if (!facts.writable) return Status(Reason::kNotWritable);
    // Replacing the file would leave its other names with the old content;
    // writing it in place could tear it. Neither is acceptable.
    if (facts.links > 1) return Status(Reason::kHardLinks, std::to_string(facts.links) + " names");
  }

  std::string text;
  TALVORO_RETURN_IF_ERROR(print(&text));
  const std::string lineBreak = env.LineBreak();
  if (lineBreak != "\n") {
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
      if (c == '\n')
        converted += lineBreak;
      else
        converted += c;
    }
    text.swap(converted);
  }

  RemoveLeftovers(env, folder);
  std::unique_ptr<TemporaryFile> file;
  TALVORO_RETURN_IF_ERROR(env.CreateTemporary(folder, facts, &file));
  if (facts.exists) {
    TALVORO_RETURN_IF_ERROR(file->KeepOwner(facts));
    TALVORO_RETURN_IF_ERROR(file->KeepAttributes(target));
  }
  TALVORO_RETURN_IF_ERROR(WriteAll(*file, text));
  TALVORO_RETURN_IF_ERROR(file->Sync());
  TALVORO_RETURN_IF_ERROR(file->Link());
  TALVORO_RETURN_IF_ERROR(file->Close());
  TALVORO_RETURN_IF_ERROR(env.Replace(file->Path(), target));
  file->Published();
  // Make the new entry durable. The new content is in place by now, so a
  // failure here cannot be reported as "the old file is kept"; it is left out.
  env.SyncFolder(folder);
  return Status::Ok();
}

}  // namespace talvoro
