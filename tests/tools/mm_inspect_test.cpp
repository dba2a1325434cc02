// mm-inspect: its JSON parses and holds what the loader read, built and
// registered; names of any bytes stay valid JSON; usage errors exit with 2.
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A small JSON reader, enough to check the report.
struct Json {
    enum Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = kNull;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> members;

    const Json& operator[](const char* key) const {
        const auto found = members.find(key);
        if (kind != kObject || found == members.end()) {
            throw std::runtime_error(std::string("no member ") + key);
        }
        return found->second;
    }
    const Json& operator[](int i) const { return items.at(static_cast<std::size_t>(i)); }
    float Float() const { return static_cast<float>(number); }
};

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : text_(text) {}

    Json Document() {
        Json value = Value();
        Space();
        if (at_ != text_.size()) {
            Fail("text after the document");
        }
        return value;
    }

private:
    [[noreturn]] void Fail(const char* what) const {
        throw std::runtime_error(std::string(what) + " at " + std::to_string(at_));
    }
    void Space() {
        while (at_ < text_.size() && std::string(" \t\r\n").find(text_[at_]) != std::string::npos) {
            ++at_;
        }
    }
    void Expect(char c) {
        Space();
        if (at_ >= text_.size() || text_[at_] != c) {
            Fail("unexpected character");
        }
        ++at_;
    }
    bool Next(char c) {
        Space();
        return at_ < text_.size() && text_[at_] == c;
    }
    Json Value() {
        Space();
        if (at_ >= text_.size()) {
            Fail("end of text");
        }
        Json value;
        const char c = text_[at_];
        if (c == '{') {
            value.kind = Json::kObject;
            ++at_;
            while (!Next('}')) {
                const std::string key = String();
                Expect(':');
                value.members[key] = Value();
                if (!Next('}')) {
                    Expect(',');
                }
            }
            ++at_;
        } else if (c == '[') {
            value.kind = Json::kArray;
            ++at_;
            while (!Next(']')) {
                value.items.push_back(Value());
                if (!Next(']')) {
                    Expect(',');
                }
            }
            ++at_;
        } else if (c == '"') {
            value.kind = Json::kString;
            value.text = String();
        } else if (text_.compare(at_, 4, "true") == 0 || text_.compare(at_, 5, "false") == 0) {
            value.kind = Json::kBool;
            value.number = text_[at_] == 't';
            at_ += text_[at_] == 't' ? 4 : 5;
        } else if (text_.compare(at_, 4, "null") == 0) {
            at_ += 4;
        } else {
            value.kind = Json::kNumber;
            std::size_t used = 0;
            value.number = std::stod(text_.substr(at_, 40), &used);
            at_ += used;
        }
        return value;
    }
    std::string String() {
        Expect('"');
        std::string out;
        while (true) {
            if (at_ >= text_.size()) {
                Fail("unterminated string");
            }
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') {
                return out;
            }
            if (c < 0x20) {
                Fail("control character in a string");
            }
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            const char escape = text_.at(at_++);
            const std::string simple = "\"\\/bfnrt";
            const std::string meaning = "\"\\/\b\f\n\r\t";
            if (simple.find(escape) != std::string::npos) {
                out += meaning[simple.find(escape)];
            } else if (escape == 'u') {
                const unsigned int code = std::stoul(text_.substr(at_, 4), nullptr, 16);
                at_ += 4;
                // The report escapes only single bytes; keep them as bytes.
                if (code > 0xFF) {
                    Fail("escape beyond one byte");
                }
                out += static_cast<char>(code);
            } else {
                Fail("unknown escape");
            }
        }
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

struct InspectRun {
    int exitCode;
    std::string output;
};

InspectRun Inspect(const std::string& arguments) {
    const std::string command = std::string(MM_INSPECT_PATH) + " " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    InspectRun run{-1, ""};
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class MmInspectTest : public ::testing::Test {
protected:
    mmtest::TempFiles files_;
};

TEST_F(MmInspectTest, ReportsTheWorkedExample) {
    const InspectRun run = Inspect("'" + files_.Write(mmtest::WorkedExample()) + "'");
    ASSERT_EQ(run.exitCode, 0);
    const Json report = JsonReader(run.output).Document();
    EXPECT_EQ(report["loadMesh"].number, 1);
    EXPECT_EQ(report["init"].number, 0);
    EXPECT_EQ(report["counts"]["meshes"].number, 1);
    EXPECT_EQ(report["counts"]["materials"].number, 1);

    const Json& mesh = report["meshes"][0];
    EXPECT_EQ(mesh["name"].text, "Tri");
    EXPECT_EQ(mesh["materialIndex"].number, 0);
    EXPECT_EQ(mesh["transform"].items.size(), 16u);
    EXPECT_EQ(mesh["faces"][0][3].number, 0);
    EXPECT_EQ(mesh["corners"][0][5].number, 1);
    EXPECT_EQ(mesh["vertexCount"].number, 3);

    const Json& material = report["materials"][0];
    EXPECT_EQ(material["diffuse"][0].Float(), 0.8f);
    EXPECT_EQ(material["diffuse"][1].Float(), 0.6f);
    EXPECT_EQ(material["textures"][0].text, "textures\\stone.tga");
    EXPECT_EQ(report["textureList"][0].text, "textures\\stone.tga");
    EXPECT_EQ(report["skins"][0]["textures"][1].number, 65535);

    const Json& vertex = report["vertices"][2];
    EXPECT_EQ(vertex["p"][2].number, 1);  // file y becomes model z
    EXPECT_EQ(vertex["c"].number, 0xFFCC9966u);
    EXPECT_EQ(vertex["t"][0].number, 1);
    EXPECT_EQ(report["faces"][0][3].number, 0);

    const Json& device = report["device"];
    ASSERT_EQ(device.items.size(), 3u);
    EXPECT_EQ(device[0]["call"].text, "AddSkin");
    EXPECT_EQ(device[0]["power"].number, 1);
    EXPECT_EQ(device[1]["file"].text, "textures\\stone.tga");
    EXPECT_EQ(device[2]["format"].number, 4);
    EXPECT_EQ(device[2]["indices"].items.size(), 3u);
    EXPECT_EQ(device[2]["buffer"].number, 1);

    const Json& log = report["log"];
    EXPECT_EQ(log[0]["text"].text, " Number of Objects: '1'");
    EXPECT_EQ(log[0]["style"].text, "message");
    EXPECT_EQ(log.items.back()["text"].text, "mat '0' :: num faces '1'\n");
}

TEST_F(MmInspectTest, OddNamesAndNonFiniteNumbersStayValidJson) {
    mmtest::Mesh mesh;
    mesh.name = "back\\slash\ttab \xff\xfe \xc3\xa9";
    std::string text = mmtest::Header() + mesh.Text();
    const std::string vertex = "\t1 1 0 0 0 0 1";
    text.replace(text.find(vertex), vertex.size(), "\t1 nan 0 0 0 -inf 1");
    const InspectRun run = Inspect("'" + files_.Write(text) + "'");
    ASSERT_EQ(run.exitCode, 0);
    const Json report = JsonReader(run.output).Document();
    EXPECT_EQ(report["meshes"][0]["name"].text, mesh.name);
    EXPECT_EQ(report["vertices"][1]["p"][0].text, "nan");
    EXPECT_EQ(report["vertices"][1]["n"][2].text, "-inf");  // y and z exchanged
}

TEST_F(MmInspectTest, MissingFileStillReports) {
    const InspectRun run = Inspect("/no/such/model.mm");
    ASSERT_EQ(run.exitCode, 0);
    const Json report = JsonReader(run.output).Document();
    EXPECT_EQ(report["loadMesh"].number, 0);
    EXPECT_EQ(report["log"][0]["text"].text,
              "Motion Error: file \"/no/such/model.mm\" not found.\n");
    EXPECT_TRUE(report["device"].items.empty());
}

TEST_F(MmInspectTest, BadUsageExitsWithTwo) {
    const InspectRun none = Inspect("2>&1");
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.output.rfind("usage: mm-inspect FILE", 0), 0u);
    EXPECT_EQ(Inspect("a b 2>/dev/null").exitCode, 2);
}

}  // namespace
