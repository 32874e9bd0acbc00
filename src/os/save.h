// Replacing a file without ever losing or exposing the old one, in the
// manner of SQLite's journal-free writers: the new text goes into a new file
// beside the target that already has the target's mode, owner and extended
// attributes, is synced, and is put in the target's place in one step. Until
// then the target is untouched; after it, the target holds the whole new
// text.
#ifndef TALVORO_OS_SAVE_H_
#define TALVORO_OS_SAVE_H_

#include <functional>
#include <string>

#include "os/env.h"
#include "os/status.h"

namespace talvoro {

// Gives the text of a save in *text, or the reason there is none.
using SaveText = std::function<Status(std::string* text)>;

// Replaces the file at `path` with the text that `print` gives, each "\n" as
// the platform's line break.
//  - The target is checked before `print` is asked. Refused, with the target
//    untouched: a null path (kInvalidArgument), an empty one, a target that
//    is no regular file, that the caller may not write, that has several hard
//    links (replacing it would cut the other names off), or whose owner or
//    group the caller cannot give the new file. A refusal of `print` is
//    returned as it is.
//  - The new text is never readable by anyone the target's mode does not
//    allow, and a killed save leaves no file behind (or, where the file
//    system cannot create unnamed files, one that the next save into the
//    folder removes).
//  - A symbolic link is followed and stays a link. The file keeps its
//    permission bits (setuid, setgid and sticky aside), owner, group and the
//    extended attributes the caller may set.
// On any failure the target is exactly as it was and no temporary file is
// left.
Status ReplaceFile(Env& env, const char* path, const SaveText& print);

}  // namespace talvoro

#endif  // TALVORO_OS_SAVE_H_
