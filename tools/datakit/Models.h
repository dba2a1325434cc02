// The show's two sculptures, built as Motion Model scenes, and their
// writers: each writes its .mm file under data/models/ and its surface
// maps under textures/, and returns the relative paths it wrote.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/datakit/Mesh.h"

namespace datakit {

// W: a twisted, carved stone column on a stepped plinth, bound by bronze
// rings and crowned with a bronze orb; about 950 units tall, its foot 90
// units above the origin.
Model BuildModelW();
// Q: a pale marble head on a slender neck, ringed by a dark glassy trefoil
// knot, on an obsidian plinth; stands on its origin, about 500 units tall.
Model BuildModelQ();

std::vector<std::string> WriteModelW(const std::filesystem::path& root);
std::vector<std::string> WriteModelQ(const std::filesystem::path& root);

}  // namespace datakit
