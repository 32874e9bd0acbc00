// Saves against a power cut. Killing the process proves nothing here: the
// page cache outlives a killed process. The fault Env's power model says what
// a disk may hold when the power fails at a given call (see CutPowerAt): the
// power is cut before every call of every writer's save in turn, and after
// the save, and every state the disk may then hold is looked at.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fault_env.h"
#include "test_util.h"
#include "writers.h"

namespace {

using testutil::FaultEnv;
using testutil::ReadFile;
using testutil::WriteFile;
using testutil::Writers;

// A document every writer accepts, short enough that each of its bytes can
// be a place where a write is torn.
std::string Old() {
  return "<?xml version=\"1.0\" ?>\n<items>\n    <item file=\"tool-3.exe\" />\n    <item "
         "file=\"keep.exe\" />\n    <more>\n        <item id=\"7\" version=\"1\" />\n    "
         "</more>\n</items>\n";
}

// What is wrong with the states that a power cut at each step of `writer`'s
// save may leave at the target: every one must hold the whole old document
// (or, for a new target, nothing) while the save runs, and the whole new one
// once the save has returned. One line per state that breaks this.
std::vector<std::string> Violations(const testutil::Writer& writer, bool targetExists,
                                    FaultEnv::Syncs trusted,
                                    talvoro::Env& system = talvoro::Env::Default()) {
  testutil::TempDir dir;
  const std::string path = dir / "doc.xml";
  const std::string source = dir / "source.xml";
  const std::optional<std::string> old =
      targetExists ? std::optional<std::string>(Old()) : std::nullopt;
  // The save without a cut: its calls, and the new document.
  std::string fresh;
  int steps = 0;
  {
    if (old) WriteFile(path, *old);
    FaultEnv clean(system);
    const talvoro::Status status = writer(clean, path);
    if (!status.ok()) return {"the save fails without a cut: " + status.ToString()};
    fresh = ReadFile(path);
    if (fresh == old) return {"the save changes nothing"};
    steps = static_cast<int>(clean.calls().size());
  }
  std::vector<std::string> violations;
  for (int cut = 0; cut <= steps; ++cut) {
    std::remove(path.c_str());
    if (old) WriteFile(path, *old);
    FaultEnv env(system);
    env.TrustSyncs(trusted);
    if (old) env.Existing(path, *old);
    env.CutPowerAt(cut);
    writer(env, path);  // what it answers after a cut, nobody is left to hear
    const bool returned = cut == steps;
    for (const std::optional<std::string>& content : env.AfterPowerCut(path)) {
      const bool whole = content == fresh || (!returned && content == old);
      if (whole) continue;
      violations.push_back("cut at " + (returned ? std::string("the end") : env.calls()[cut]) +
                           ": " +
                           (content ? std::to_string(content->size()) + " bytes" : "no file"));
    }
  }
  return violations;
}

TEST(PowerLoss, EveryCutLeavesTheWholeOldOrTheWholeNewDocument) {
  // New files unnamed until complete where the system has them, and named.
  const std::unique_ptr<talvoro::Env> named = talvoro::NewSystemEnv({false});
  for (talvoro::Env* system : {&talvoro::Env::Default(), named.get()}) {
    for (const auto& [name, writer] : Writers()) {
      for (const bool targetExists : {true, false}) {
        // The editors need a document to edit.
        if (!targetExists && std::string(name).rfind("Writting", 0) != 0) continue;
        EXPECT_EQ(Violations(writer, targetExists, {}, *system), std::vector<std::string>())
            << name << (targetExists ? "" : ", new file")
            << (system == named.get() ? ", named temporary file" : "");
      }
    }
  }
}

// The model finds what a save without either sync would lose: so does the
// test above, should the save ever leave one out.
TEST(PowerLoss, ADiskThatIgnoresASyncLosesTheDocument) {
  const testutil::Writer& writer = Writers().front().second;
  FaultEnv::Syncs noFileSync, noFolderSync;
  noFileSync.files = false;
  noFolderSync.folders = false;
  EXPECT_FALSE(Violations(writer, true, noFileSync).empty()) << "without the file's sync";
  EXPECT_FALSE(Violations(writer, true, noFolderSync).empty()) << "without the folder's sync";
}

}  // namespace
