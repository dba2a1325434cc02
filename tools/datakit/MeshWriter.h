// Writes a scene in the Motion Model ASCII format, version 107.
#pragma once

#include <filesystem>
#include <string>

#include "tools/datakit/Mesh.h"

namespace datakit {

std::string MotionModelText(const Model& model);
void WriteMotionModel(const Model& model, const std::filesystem::path& path);

}  // namespace datakit
