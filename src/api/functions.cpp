// The functions of namespace talvoro: the diagnosis, the writers with their
// outcomes, and the character sets for programs that show a document's text.
// Each runs the core that the other faces run and reports its reason.
#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "api/binding.h"
#include "api/outcome.h"
#include "api/writers.h"
#include "diagnose/findings.h"
#include "diagnose/swallowed.h"
#include "os/env.h"
#include "talvoro/diagnose.h"
#include "talvoro/writers.h"
#include "xml/encoding.h"

namespace talvoro {
namespace {

// A writer's work over the system's file layer, with its outcome.
template <class Save>
Outcome Written(Save save) {
  int changed = 0;
  Status status;
  try {
    status = save(&changed);
  } catch (const std::bad_alloc&) {
    status = Status(Reason::kNoMemory);
  }
  Outcome outcome{};
  Report(status, changed, &outcome);
  return outcome;
}

// The outcome to the caller, when it asks; whether the call succeeded.
bool Handed(const Outcome& full, Outcome* outcome) {
  if (outcome) *outcome = full;
  return full.reason == Reason::kOk;
}

}  // namespace

Reason DiagnoseIn(Env& env, DocumentKind kind, const char* path, Outcome* outcome,
                  FindingCallback callback, void* context) {
  const Binding* binding = FindBinding(kind);
  Status status =
      binding
          ? CheckPath(path)
          : Status(Reason::kInvalidArgument,
                   "the document kind " + std::to_string(static_cast<int>(kind)) + " is not known");
  try {
    if (status.ok()) {
      Findings findings;
      {
        Document doc(env, &findings);
        doc.xml().Tell({true, true, &ExplainMalformed});
        status = binding->own(doc, path);
      }
      if (status.ok() && callback) findings.HandOut(callback, context);
    }
  } catch (const std::bad_alloc&) {
    status = Status(Reason::kNoMemory);
  }
  Report(status, 0, outcome);
  return status.code();
}

Reason Diagnose(DocumentKind kind, const char* path, Outcome* outcome, FindingCallback callback,
                void* context) {
  return DiagnoseIn(Env::Default(), kind, path, outcome, callback, context);
}

Reason DeclaredEncoding(const char* path, char* name, int size) {
  Status status = CheckPath(path);
  if (status.ok() && size < 0) {
    status = Status(Reason::kInvalidArgument, "the size is " + std::to_string(size));
  } else if (status.ok() && !name && size > 0) {
    status = Status(Reason::kInvalidArgument,
                    "the name is null, and the size is " + std::to_string(size));
  }
  std::string encoding;
  try {
    if (status.ok()) {
      XmlDocument doc;
      status = doc.Load(path).status;
      if (status.ok()) encoding = doc.Encoding();
    }
  } catch (const std::bad_alloc&) {
    status = Status(Reason::kNoMemory);
  }
  if (name && size > 0) {
    const std::size_t kept = std::min(encoding.size(), static_cast<std::size_t>(size) - 1);
    encoding.copy(name, kept);
    name[kept] = '\0';
  }
  return status.code();
}

Outcome SoftVersionSet(Env& env, const tagSoftData* soft, const char* path) {
  return Written([&](int* changed) { return SaveSoftVersion(env, soft, path, changed); });
}

Outcome ShortcutDeleted(Env& env, const char* path, const tagShortCutInfo* shortcut) {
  return Written([&](int* changed) { return SaveWithoutShortcut(env, path, shortcut, changed); });
}

Outcome ShortcutsWritten(Env& env, const char* path, const tagShortCutInfo* shortcuts, int count) {
  return Written([&](int* changed) {
    *changed = count;
    return SaveShortcuts(env, path, shortcuts, count);
  });
}

Outcome UpdatesWritten(Env& env, const char* path, const tagUpdateData* updates, int count) {
  return Written([&](int* changed) {
    *changed = count;
    return SaveUpdates(env, path, updates, count);
  });
}

bool SetSoftVersion(const tagSoftData& soft, const char* path, Outcome* outcome) {
  return Handed(SoftVersionSet(Env::Default(), &soft, path), outcome);
}

bool DeleteShortcut(const char* path, const tagShortCutInfo& shortcut, Outcome* outcome) {
  return Handed(ShortcutDeleted(Env::Default(), path, &shortcut), outcome);
}

bool WriteShortcuts(const char* path, const tagShortCutInfo* shortcuts, int count,
                    Outcome* outcome) {
  return Handed(ShortcutsWritten(Env::Default(), path, shortcuts, count), outcome);
}

bool WriteUpdates(const char* path, const tagUpdateData* updates, int count, Outcome* outcome) {
  return Handed(UpdatesWritten(Env::Default(), path, updates, count), outcome);
}

struct CharacterSet {
  std::unique_ptr<Charset> charset;
};

CharacterSet* OpenCharacterSet(const char* encoding) {
  try {
    std::unique_ptr<Charset> charset = DeclaredCharset(Env::Default(), encoding ? encoding : "");
    return charset ? new CharacterSet{std::move(charset)} : nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void CloseCharacterSet(CharacterSet* set) {
  delete set;
}

int DecodeCharacter(CharacterSet* set, const char* text, int size, unsigned codes[2], int* count) {
  Charset::Character character{0, 0};
  if (set && text && size > 0) character = set->charset->Next(text, static_cast<std::size_t>(size));
  if (codes) {
    codes[0] = character.length ? static_cast<unsigned>(character.code) : 0;
    codes[1] = character.length ? static_cast<unsigned>(character.second) : 0;
  }
  if (count) *count = !character.length ? 0 : character.second ? 2 : 1;
  return static_cast<int>(character.length);
}

int NextCharacter(CharacterSet* set, const char* text, int size, unsigned* code) {
  unsigned codes[2];
  const int length = DecodeCharacter(set, text, size, codes, nullptr);
  if (code) *code = codes[0];
  return length;
}

}  // namespace talvoro
