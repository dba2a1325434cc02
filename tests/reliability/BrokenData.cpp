// Damaged files and the folders that hold them.
#include "tests/reliability/BrokenData.h"

#include <win32_standin.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace reliability {

const char* NameOf(Damage damage) {
    switch (damage) {
        case Damage::Missing:
            return "Missing";
        case Damage::Empty:
            return "Empty";
        case Damage::Half:
            return "Half";
        case Damage::Random:
            return "Random";
        case Damage::Folder:
            return "Folder";
        case Damage::Pipe:
            return "Pipe";
        case Damage::LinkToDevice:
            return "LinkToDevice";
    }
    return "";
}

bool ReadsAsMissing(Damage damage) {
    return damage == Damage::Missing || damage == Damage::Folder || damage == Damage::Pipe ||
           damage == Damage::LinkToDevice;
}

void PlaceDamaged(const fs::path& path, const std::vector<char>& whole, Damage damage) {
    switch (damage) {
        case Damage::Missing:
            return;
        case Damage::Folder:
            fs::create_directory(path);
            return;
        case Damage::Pipe:
            if (mkfifo(path.c_str(), 0644) != 0) {
                throw std::runtime_error("cannot make a named pipe");
            }
            return;
        case Damage::LinkToDevice:
            fs::create_symlink("/dev/zero", path);
            return;
        case Damage::Empty:
        case Damage::Half:
        case Damage::Random:
            WriteBytes(path, Damaged(whole, damage));
            return;
    }
}

std::vector<char> Damaged(const std::vector<char>& whole, Damage damage) {
    if (damage == Damage::Half) {
        return {whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2)};
    }
    if (damage != Damage::Random) {
        return {};
    }
    // mt19937's sequence is fixed by the standard; its low bytes are the file.
    std::mt19937 generator(20240611u);
    std::vector<char> bytes(whole.size());
    for (char& byte : bytes) {
        byte = static_cast<char>(generator() & 0xFFu);
    }
    return bytes;
}

std::vector<char> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempFolder::TempFolder(const char* stem) {
    std::string pattern = (fs::temp_directory_path() / (std::string(stem) + "_XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temp folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

fs::path RunFolder() {
    return fs::path(win32::ExecutableDir());
}

BrokenDataFolder::BrokenDataFolder(const std::string& relativePath, Damage damage)
    : folder_("hush_broken_data") {
    const fs::path run = RunFolder();
    for (const char* top : {"data", "textures"}) {
        fs::create_directories(Path() / top);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(run / top)) {
            const fs::path relative = fs::relative(entry.path(), run);
            if (entry.is_directory()) {
                fs::create_directories(Path() / relative);
            } else if (relative != fs::path(relativePath)) {
                fs::create_symlink(entry.path(), Path() / relative);
            } else {
                PlaceDamaged(Path() / relative, ReadBytes(entry.path()), damage);
            }
        }
    }
}

std::vector<char> FrameBytes(const fs::path& captureFolder, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", frame);
    return ReadBytes(captureFolder / name);
}

}  // namespace reliability
