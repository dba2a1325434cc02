// Appending JSON values to a text: strings escaped (bytes that are not UTF-8
// become \u00XX), 32-bit floats in nine significant digits so they read back
// to the same float, non-finite floats as the strings "nan", "inf", "-inf".
#pragma once

#include <cstddef>
#include <string>

void AppendJsonString(std::string& out, const char* text, std::size_t length);
void AppendJsonString(std::string& out, const std::string& text);
void AppendJsonFloat(std::string& out, float value);
void AppendJsonFloats(std::string& out, const float* values, int count);
void AppendJsonInt(std::string& out, long long value);
