// Test support for the model loader: Motion Model text builders, a temporary
// file per test, and the log lines a load writes.
#pragma once

#include "app/HtmlLog.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace mmtest {

inline std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double{value});
    return text;
}

inline std::string Header() {
    return "MotionModelASCII\nexported by a test\n\tVersion: 107\nscene\nunits\nend of header\n";
}

struct Material {
    std::string name = "Stone";
    std::array<float, 3> emissive{0, 0, 0};
    std::array<float, 3> ambient{0.2f, 0.2f, 0.2f};
    std::array<float, 3> diffuse{0.8f, 0.6f, 0.4f};
    std::array<float, 3> specular{1, 1, 1};
    std::vector<std::string> textures{"stone.tga"};  // file names

    std::string Text() const {
        auto colour = [](const char* label, const std::array<float, 3>& c) {
            return std::string("\t") + label + ": " + Number(c[0]) + " " + Number(c[1]) + " " +
                   Number(c[2]) + "\n";
        };
        std::string text = "Material{\n\t\"" + name + "\"\n\tDoubleSided: 0\n\tOpacity: 1.0\n" +
                           "\tGlossiness: 0.1\n\tSpecularLevel: 0.0\n" +
                           colour("Emissive", emissive) + colour("Ambient", ambient) +
                           colour("Diffuse", diffuse) + colour("Specular", specular) +
                           "\tTextures: " + std::to_string(textures.size()) + "\n";
        for (const std::string& texture : textures) {
            text += "\t\"Map\" \"" + texture + "\"\n";
        }
        return text + "}\n";
    }
};

struct Vertex {
    std::array<float, 3> position{};
    std::array<float, 3> normal{0, 0, 1};
    std::array<float, 3> colour{1, 1, 1};
    std::vector<float> uv;  // two per channel
};

struct Mesh {
    std::string name = "Tri";
    std::string parent;
    std::string material = "Stone";
    std::array<float, 12> transform{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    int channels = 1;
    std::vector<std::array<int, 4>> faces{{0, 1, 2, 0}};
    std::vector<Vertex> vertices{
        {{0, 0, 0}, {0, 0, 1}, {1, 1, 1}, {0, 0}},
        {{1, 0, 0}, {0, 0, 1}, {1, 1, 1}, {1, 0}},
        {{0, 1, 0}, {0, 0, 1}, {1, 1, 1}, {0, 1}},
    };

    std::string Text() const {
        std::string text = "Mesh{\n\t\"" + name + "\"\n\t\"" + parent + "\"\n\tsome text\n";
        for (int row = 0; row < 4; ++row) {
            text += "\t" + Number(transform[3 * row]) + " " + Number(transform[3 * row + 1]) + " " +
                    Number(transform[3 * row + 2]) + "\n";
        }
        text += "\t\"" + material + "\"\n\tNumTexChannels: " + std::to_string(channels) +
                "\n\tTriangles: " + std::to_string(faces.size()) + "\n";
        for (const auto& f : faces) {
            text += "\t" + std::to_string(f[0]) + " " + std::to_string(f[1]) + " " +
                    std::to_string(f[2]) + " " + std::to_string(f[3]) + "\n";
        }
        text += "\tVertices: " + std::to_string(vertices.size()) + "\n";
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            const Vertex& v = vertices[i];
            text += "\t" + std::to_string(i);
            for (const auto* group : {&v.position, &v.normal, &v.colour}) {
                for (const float value : *group) {
                    text += " " + Number(value);
                }
            }
            for (const float value : v.uv) {
                text += " " + Number(value);
            }
            text += "\n";
        }
        return text + "}\n";
    }
};

inline std::string Helper(const std::string& name, const std::string& parent, float tx, float ty,
                          float tz) {
    return "Helper{\n\t\"" + name + "\"\n\t\"" + parent + "\"\n\tdummy\n\t1 0 0\n\t0 1 0\n" +
           "\t0 0 1\n\t" + Number(tx) + " " + Number(ty) + " " + Number(tz) + "\n}\n";
}

inline std::string Light(const std::string& name, float tx, float ty, float tz) {
    return "Light{\n\t\"" + name + "\"\n\t\"\"\n\tomni\n\t1 0 0\n\t0 1 0\n\t0 0 1\n\t" +
           Number(tx) + " " + Number(ty) + " " + Number(tz) + "\n" +
           "\t\"Target\"\n\tColor: 1 0.5 0.25\n\tDirection: 0 0 -1\n\tIntensity: 2\n" +
           "\tSpotInnerAngle: 30\n\tSpotOuterAngle: 45\n\tnone\n\t\"Shadow\"\n" +
           "\tDecayRadius: 100\n\tShadowColor: 0 0 0\n\tShadowDensity: 1\n}\n";
}

inline std::string MultiMaterial(const std::string& name, const std::vector<std::string>& subs) {
    std::string text = "MultiMaterial{\n\t\"" + name +
                       "\"\n\tNumSubMaterials: " + std::to_string(subs.size()) + "\n";
    for (const std::string& sub : subs) {
        text += "\t\"" + sub + "\"\n";
    }
    return text + "}\n";
}

// The worked example: one material with one texture and one triangle.
inline std::string WorkedExample() {
    return Header() + Material{}.Text() + Mesh{}.Text();
}

// A file in a folder of its own, removed with the fixture.
class TempFiles {
public:
    TempFiles() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("hush_mm_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~TempFiles() { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& text, const std::string& name = "model.mm") const {
        const std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

private:
    std::filesystem::path dir_;
};

struct LoggedLine {
    bool error;
    std::string text;
};

// Collects every log line written while it lives.
class LogCapture {
public:
    LogCapture() { SetHtmlLogHook(&LogCapture::Capture, this); }
    ~LogCapture() { SetHtmlLogHook(nullptr, nullptr); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const LoggedLine& line : lines) {
            texts.push_back(line.text);
        }
        return texts;
    }
    // Index of the first line equal to text, or -1.
    int Find(const std::string& text) const {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].text == text) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    // The lines that start with prefix.
    std::vector<std::string> Starting(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const LoggedLine& line : lines) {
            if (line.text.rfind(prefix, 0) == 0) {
                found.push_back(line.text);
            }
        }
        return found;
    }

    std::vector<LoggedLine> lines;

private:
    static void Capture(void* user, bool error, const char* text) {
        static_cast<LogCapture*>(user)->lines.push_back({error, text});
    }
};

}  // namespace mmtest
