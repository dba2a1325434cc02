// mm-inspect FILE: loads one Motion Model file the way the show does
// (LoadMesh, then Init) against a recording render device, with no window,
// and prints what was read, built and registered as one JSON object.
#include "ModelReport.h"

#include "app/HtmlLog.h"

#include <win32_standin.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: mm-inspect FILE\n"
    "Loads a Motion Model ASCII file against a recording render device and prints\n"
    "its records, render data, device calls and log lines as JSON.\n";

void CaptureLogLine(void* user, bool error, const char* text) {
    static_cast<std::vector<LogLine>*>(user)->push_back({error, text});
}

// The "too many materials" box goes to standard error; nothing is shown.
int ReportBox(void*, LPCWSTR text, LPCWSTR caption, UINT) {
    std::fprintf(stderr, "%ls: %ls\n", caption, text);
    return IDOK;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::vector<LogLine> log;
    SetHtmlLogHook(CaptureLogLine, &log);
    win32::SetMessageBoxHook(ReportBox, nullptr);

    LoadMM model;
    CRecordingRenderDevice device;
    const int loaded = model.LoadMesh(argv[1]);
    const HRESULT init = model.Init(&device);
    const std::string report = ModelReport(model, device, loaded, init, log);
    std::fwrite(report.data(), 1, report.size(), stdout);

    model.Unload();
    SetHtmlLogHook(nullptr, nullptr);
    return 0;
}
