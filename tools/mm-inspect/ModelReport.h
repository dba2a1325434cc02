// The JSON report of one model: what LoadMesh read, what the build made and
// what Init registered on the recording device, with the log lines written
// on the way.
#pragma once

#include "device/RecordingRenderDevice.h"
#include "model/LoadMM.h"

#include <string>
#include <vector>

struct LogLine {
    bool error;
    std::string text;
};

std::string ModelReport(const LoadMM& model, const CRecordingRenderDevice& device, int loadMesh,
                        HRESULT init, const std::vector<LogLine>& log);
