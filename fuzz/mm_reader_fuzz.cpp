// libFuzzer target: any bytes as a Motion Model file, through LoadMesh, the
// build and Init against the recording render device.
#include "app/HtmlLog.h"
#include "device/RecordingRenderDevice.h"
#include "model/LoadMM.h"

#include <win32_standin.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string ModelPath() {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr ? folder : "/tmp") + "/mm_reader_fuzz_" +
           std::to_string(getpid()) + ".mm";
}

// The log lines are formatted (every format and argument runs) and dropped.
void DropLogLine(void*, bool, const char*) {}

int AnswerBox(void*, LPCWSTR, LPCWSTR, UINT) {
    return IDOK;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ModelPath();
    SetHtmlLogHook(DropLogLine, nullptr);
    win32::SetMessageBoxHook(AnswerBox, nullptr);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    LoadMM model;
    CRecordingRenderDevice device;
    model.LoadMesh(path.c_str());
    model.Init(&device);
    model.Unload();
    std::remove(path.c_str());
    return 0;
}
