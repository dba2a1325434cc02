// Broken copies of the show's files for the reliability tests: a fresh
// folder that links to the run folder's data and textures, with one file
// missing, empty, cut to half its size, replaced by random bytes, or
// replaced by something that is not a regular file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace reliability {

// The last three are not regular files: an empty folder, a named pipe
// nobody writes to, and a link to the endless device /dev/zero.
enum class Damage { Missing, Empty, Half, Random, Folder, Pipe, LinkToDevice };

inline constexpr Damage kEveryDamage[] = {Damage::Missing,     Damage::Empty,  Damage::Half,
                                          Damage::Random,      Damage::Folder, Damage::Pipe,
                                          Damage::LinkToDevice};

const char* NameOf(Damage damage);

// The damages the show meets as it meets a missing file.
bool ReadsAsMissing(Damage damage);

// Puts the damaged file at `path`: nothing for Missing, the Damaged bytes
// of `whole`, or the thing that is not a regular file.
void PlaceDamaged(const std::filesystem::path& path, const std::vector<char>& whole, Damage damage);

// The damaged contents of a file (empty for the damages without contents).
// Random bytes come from a fixed seed, so every run breaks the file the same
// way.
std::vector<char> Damaged(const std::vector<char>& whole, Damage damage);

std::vector<char> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<char>& bytes);

// A fresh folder under the system's temp folder, removed with the object.
class TempFolder {
public:
    explicit TempFolder(const char* stem);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A data folder for --data: links to every file of the run folder's data/
// and textures/, except `relativePath` (native separators), which is damaged.
class BrokenDataFolder {
public:
    BrokenDataFolder(const std::string& relativePath, Damage damage);
    const std::filesystem::path& Path() const { return folder_.Path(); }

private:
    TempFolder folder_;
};

// The run folder's intact data, as --data takes it.
std::filesystem::path RunFolder();

// The PNG of one captured frame, or empty when there is none.
std::vector<char> FrameBytes(const std::filesystem::path& captureFolder, int frame = 0);

}  // namespace reliability
