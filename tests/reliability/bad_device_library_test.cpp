// The render device library missing, empty, cut short, replaced by random
// bytes or by something that is not a regular file: a copy of the run
// folder's executable and libraries with the broken library beside it, where
// the library search looks first. A library that
// cannot be loaded stops start-up with the loader's and start-up's messages
// and status 5; one whose loaded part is whole (only symbols and debug
// sections cut off) runs the show as before. Never a crash.
#include "tests/app/HushProcess.h"
#include "tests/reliability/BrokenData.h"

#include <gtest/gtest.h>

#include <link.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using reliability::Damage;

constexpr const char* kLibrary = "libEmberD3D.so";

// Where the last byte the loader maps from the file ends.
std::size_t EndOfLoadedPart(const std::vector<char>& bytes) {
    ElfW(Ehdr) header{};
    std::memcpy(&header, bytes.data(), sizeof header);
    std::size_t end = 0;
    for (int i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment{};
        std::memcpy(&segment, bytes.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        if (segment.p_type == PT_LOAD) {
            end = std::max<std::size_t>(end, segment.p_offset + segment.p_filesz);
        }
    }
    return end;
}

struct LibraryRun {
    hushtest::Outcome outcome;
    std::vector<char> frame;
};

// A one-frame capture at 10 s of the run folder's data by `program`.
LibraryRun CaptureWith(const std::string& program) {
    reliability::TempFolder out("hush_bad_library_out");
    hushtest::Launch launch;
    launch.program = program;
    launch.arguments = {
        "--capture", (out.Path() / "frames").string(), "--fps", "1", "--from", "10", "--to", "10",
        "--data",    reliability::RunFolder().string()};
    launch.deadline = std::chrono::seconds(180);
    LibraryRun run;
    run.outcome = hushtest::RunHush(launch);
    run.frame = reliability::FrameBytes(out.Path() / "frames");
    return run;
}

// The executable and its shared libraries, without the device library.
void CopyProgram(const fs::path& to) {
    for (const fs::directory_entry& entry : fs::directory_iterator(reliability::RunFolder())) {
        const std::string name = entry.path().filename().string();
        const bool sharedLibrary = name.rfind("lib", 0) == 0 && entry.path().extension() == ".so";
        if ((name == "hush" || sharedLibrary) && name != kLibrary) {
            fs::copy_file(entry.path(), to / name);
        }
    }
}

void ExpectRefused(const LibraryRun& run) {
    EXPECT_TRUE(run.outcome.exited) << "killed (crash, sanitizer or hang)";
    EXPECT_EQ(run.outcome.exitCode, 5);
    EXPECT_EQ(run.outcome.err,
              "Error: Loading EmberD3D.dll failed!\n"
              "Error: Failed to create Ember D3D Renderer\n"
              "hush: the capture stopped: the show could not start\n");
    EXPECT_TRUE(run.frame.empty());
}

TEST(BadDeviceLibraryTest, ABrokenLibraryStopsStartUpAndAWholeOneRuns) {
    const std::vector<char> whole = reliability::ReadBytes(reliability::RunFolder() / kLibrary);
    const std::size_t loaded = EndOfLoadedPart(whole);
    ASSERT_GT(loaded, 0u);
    const LibraryRun intact = CaptureWith("");
    ASSERT_EQ(intact.outcome.exitCode, 0) << intact.outcome.err;

    struct Case {
        const char* name;
        Damage damage;
        std::vector<char> bytes;
    };
    std::vector<Case> cases;
    for (const Damage damage : reliability::kEveryDamage) {
        cases.push_back({reliability::NameOf(damage), damage, reliability::Damaged(whole, damage)});
    }
    // Cut inside the mapped segments: the loader would fault on the missing
    // pages, so the file is refused before it is mapped.
    cases.push_back({"CutInsideItsSegments",
                     Damage::Half,
                     {whole.begin(), whole.begin() + static_cast<long>(loaded / 2)}});

    for (const Case& broken : cases) {
        SCOPED_TRACE(broken.name);
        reliability::TempFolder folder("hush_bad_library");
        CopyProgram(folder.Path());
        if (reliability::ReadsAsMissing(broken.damage)) {
            reliability::PlaceDamaged(folder.Path() / kLibrary, whole, broken.damage);
        } else {
            reliability::WriteBytes(folder.Path() / kLibrary, broken.bytes);
        }
        const LibraryRun run = CaptureWith((folder.Path() / "hush").string());
        if (!reliability::ReadsAsMissing(broken.damage) && broken.bytes.size() >= loaded &&
            std::equal(broken.bytes.begin(), broken.bytes.begin() + 4, whole.begin())) {
            EXPECT_EQ(run.outcome.exitCode, 0) << run.outcome.err;
            EXPECT_EQ(run.frame, intact.frame);
        } else {
            ExpectRefused(run);
        }
    }
}

}  // namespace
