// Saving a document without ever losing or exposing the old one: the new
// text is printed in memory and checked to load back as the same document,
// then written into a new file beside the target that already has the
// target's mode, owner and extended attributes, synced, and put in the
// target's place in one step. Until then the target is untouched; after it,
// the target holds the whole new document.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "frame/document.h"
#include "frame/print.h"

namespace talvoro {
namespace {

// Text made only of white space, which reading drops and so never comes back.
bool DroppedOnReading(const TiXmlNode* node) {
  const TiXmlText* text = node->ToText();
  if (!text || text->CDATA()) return false;
  const std::string& value = text->ValueStr();
  return std::all_of(value.begin(), value.end(),
                     [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

const TiXmlNode* Kept(const TiXmlNode* node) {
  while (node && DroppedOnReading(node))
    node = node->NextSibling();
  return node;
}

// Two nodes say the same, apart from their children.
bool SameNode(const TiXmlNode& a, const TiXmlNode& b) {
  if (a.Type() != b.Type() || a.ValueStr() != b.ValueStr()) return false;
  if (const TiXmlDeclaration* da = a.ToDeclaration()) {
    const TiXmlDeclaration* db = b.ToDeclaration();
    return std::strcmp(da->Version(), db->Version()) == 0 &&
           std::strcmp(da->Encoding(), db->Encoding()) == 0 &&
           std::strcmp(da->Standalone(), db->Standalone()) == 0;
  }
  if (const TiXmlText* ta = a.ToText()) return ta->CDATA() == b.ToText()->CDATA();
  if (const TiXmlElement* ea = a.ToElement()) {
    const TiXmlAttribute* x = ea->FirstAttribute();
    const TiXmlAttribute* y = b.ToElement()->FirstAttribute();
    for (; x && y; x = x->Next(), y = y->Next()) {
      if (x->NameTStr() != y->NameTStr() || x->ValueStr() != y->ValueStr()) return false;
    }
    return !x && !y;
  }
  return true;
}

// Whether `read` (a document loaded from what `written` printed) holds the
// same nodes in the same order, white space that reading drops aside. Walks
// both trees side by side with an explicit stack, as deep as they go.
bool SameDocument(const TiXmlDocument& written, const TiXmlDocument& read) {
  std::vector<std::pair<const TiXmlNode*, const TiXmlNode*>> pending{{&written, &read}};
  while (!pending.empty()) {
    const auto [a, b] = pending.back();
    pending.pop_back();
    const TiXmlNode* x = Kept(a->FirstChild());
    const TiXmlNode* y = Kept(b->FirstChild());
    for (; x && y; x = Kept(x->NextSibling()), y = Kept(y->NextSibling())) {
      if (!SameNode(*x, *y)) return false;
      pending.emplace_back(x, y);
    }
    if (x || y) return false;
  }
  return true;
}

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

Status Document::Save(const char* path) const {
  try {
    return SaveTo(path);
  } catch (const std::bad_alloc&) {
    return Status(Reason::kNoMemory);
  }
}

Status Document::SaveTo(const char* path) const {
  if (!path || !*path) return Status(Reason::kTargetNotRegular, "no path");
  std::string target, folder, name;
  TALVORO_RETURN_IF_ERROR(env_.ResolveLinks(path, &target));
  env_.Split(target, &folder, &name);
  if (name.empty()) return Status(Reason::kTargetNotRegular, "the path names a folder");

  FileFacts facts;
  TALVORO_RETURN_IF_ERROR(env_.Inspect(target, &facts));
  if (facts.exists) {
    if (!facts.regular) return Status(Reason::kTargetNotRegular);
    if (!facts.writable) return Status(Reason::kNotWritable);
    // Replacing the file would leave its other names with the old content;
    // writing it in place could tear it. Neither is acceptable.
    if (facts.links > 1) return Status(Reason::kHardLinks, std::to_string(facts.links) + " names");
  }

  std::string text;
  PrintDocument(doc_, byteOrderMark_, &text);
  // TinyXML does not always read back what it prints: in a UTF-8 document a
  // value whose bytes are not UTF-8 (a lead byte at its end, say) swallows its
  // closing quote, and a declaration printed anew can change how the rest is
  // read. A text that does not load back as this very document never
  // replaces the target.
  {
    std::string copy = text;
    Document printed(env_);
    if (!printed.Parse(copy).ok() || !SameDocument(doc_, printed.doc_))
      return Status(Reason::kNotReadBack);
  }
  const std::string lineBreak = env_.LineBreak();
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

  RemoveLeftovers(env_, folder);
  std::unique_ptr<TemporaryFile> file;
  TALVORO_RETURN_IF_ERROR(env_.CreateTemporary(folder, facts, &file));
  if (facts.exists) {
    TALVORO_RETURN_IF_ERROR(file->KeepOwner(facts));
    TALVORO_RETURN_IF_ERROR(file->KeepAttributes(target));
  }
  TALVORO_RETURN_IF_ERROR(WriteAll(*file, text));
  TALVORO_RETURN_IF_ERROR(file->Sync());
  TALVORO_RETURN_IF_ERROR(file->Link());
  TALVORO_RETURN_IF_ERROR(file->Close());
  TALVORO_RETURN_IF_ERROR(env_.Replace(file->Path(), target));
  file->Published();
  // Make the new entry durable. The new content is in place by now, so a
  // failure here cannot be reported as "the old file is kept"; it is left out.
  env_.SyncFolder(folder);
  return Status::Ok();
}

}  // namespace talvoro
