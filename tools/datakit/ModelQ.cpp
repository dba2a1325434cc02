// Model Q: an obsidian plinth, a marble neck and head, and a glassy
// trefoil knot ringing the head. The plinth hangs from the helper
// "Q_base"; head and knot from "Q_knot_pivot", so the crown can be placed
// as one. The show sees Q from about 910 units with its camera tilted up
// by about 22 degrees and stretches Q's height by 1.2, so the view spans
// roughly y = -8 to 740 of Q's frame: Q stands on its origin and rises
// about 500 units, the head a little below the middle of the screen.
#include <cmath>

#include "tools/datakit/DetMath.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/MeshWriter.h"
#include "tools/datakit/Models.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/SurfaceMaps.h"

namespace datakit {
namespace {

Material Marble() {
    return {"Q_marble",
            Rgb8(70, 66, 62),
            Rgb8(230, 222, 208),
            Rgb8(255, 250, 240),
            0.7,
            0.8,
            {"q_marble_diffuse.png", "q_marble_height.png", "q_marble_gloss.png"}};
}

Material ObsidianGlass() {
    return {"Q_obsidian",
            Rgb8(20, 18, 24),
            Rgb8(90, 84, 100),
            Rgb8(220, 220, 255),
            0.9,
            1.0,
            {"q_obsidian_diffuse.png", "q_obsidian_height.png", "q_obsidian_gloss.png"}};
}

Mesh Part(const std::string& name, const std::string& parent, const std::string& material, Vec at) {
    Mesh m;
    m.name = name;
    m.parent = parent;
    m.material = material;
    m.translation = at;
    return m;
}

// The head: an egg with a heavier crown, a narrowing jaw, a brow ridge and
// a faint nose towards -y (the side the camera meets first), and a skin
// of slow organic swellings.
Vec HeadPoint(double s, double t) {
    double angle = kTwoPi * s, phi = kPi * (t - 0.5);
    double cp = Cos(phi), sp = Sin(phi);
    double x = Cos(angle) * cp, y = Sin(angle) * cp, z = sp;
    double jaw = 0.78 + 0.22 * SmoothStep(-0.9, 0.2, z);
    double front = SmoothStep(0.3, 1.0, -y);
    double brow = 0.06 * front * Exp(-(z - 0.25) * (z - 0.25) * 40.0);
    double nose =
        0.1 * SmoothStep(0.85, 1.0, -y) * Exp(-(z + 0.05) * (z + 0.05) * 30.0) * Exp(-x * x * 60.0);
    double swell = 0.05 * Fbm3(x * 1.5, y * 1.5, z * 1.5, 3, 4001);
    double r = 1.0 + brow + nose + swell;
    return {x * 64.0 * jaw * r, y * 64.0 * jaw * r, z * 84.0 * r};
}

// The (2, 3) torus knot, a trefoil wide enough to clear the head.
Vec Trefoil(double a) {
    double t = kTwoPi * a;
    double r = 124.0 + 30.0 * Cos(3.0 * t);
    return {r * Cos(2.0 * t), r * Sin(2.0 * t), 46.0 * Sin(3.0 * t)};
}

}  // namespace

Model BuildModelQ() {
    Model model;
    model.title = "model Q: head in a knot";
    model.materials = {Marble(), ObsidianGlass()};
    model.helpers = {{"Q_base", {0.0, 0.0, 10.0}}, {"Q_knot_pivot", {0.0, 0.0, 390.0}}};

    Mesh plinth = Part("Q_plinth", "Q_base", "Q_obsidian", {});
    AddSurface(plinth,
               Lathe(Profile({{0, 0},
                              {96, 0},
                              {96, 14},
                              {86, 20},
                              {78, 98},
                              {90, 106},
                              {90, 118},
                              {62, 124},
                              {0, 124}}),
                     [](double a) { return SquareSection(a, 5.0); }),
               {48, 32, 4.0, 1.5});
    model.meshes.push_back(plinth);

    Mesh neck = Part("Q_neck", "", "Q_marble", {0.0, 0.0, 150.0});
    AddSurface(neck,
               Lathe(Profile({{0, 0}, {52, 0}, {36, 22}, {25, 90}, {23, 150}, {31, 182}, {0, 188}}),
                     [](double a) { return 1.0 + 0.04 * Cos(3.0 * a); }),
               {48, 30, 2.0, 1.5});
    model.meshes.push_back(neck);

    Mesh head = Part("Q_head", "Q_knot_pivot", "Q_marble", {});
    AddSurface(head, HeadPoint, {56, 40, 2.0, 1.0});
    model.meshes.push_back(head);

    Mesh knot = Part("Q_knot", "Q_knot_pivot", "Q_obsidian", {});
    AddSurface(knot,
               Tube(
                   Trefoil,
                   [](double along, double around) {
                       // Slow swellings along the strand, faint ribs around it.
                       return 15.0 * (1.0 + 0.3 * Sin(kTwoPi * 6.0 * along)) +
                              1.0 * Cos(kTwoPi * 4.0 * around);
                   },
                   240),
               {16, 240, 1.0, 12.0});
    model.meshes.push_back(knot);

    model.lights = {{"Q_rim_light",
                     {160.0, 620.0, 700.0},
                     Normalized({-0.2, -0.8, -0.5}),
                     Rgb8(200, 215, 255),
                     1.0}};
    return model;
}

std::vector<std::string> WriteModelQ(const std::filesystem::path& root) {
    std::vector<std::string> written;
    for (auto [stem, field] :
         {std::pair{"q_marble", &VeinedMarble}, std::pair{"q_obsidian", &Obsidian}}) {
        for (const std::string& name : WriteSurface(root, stem, field, 512)) {
            written.push_back("textures/" + name);
        }
    }
    WriteMotionModel(BuildModelQ(), root / "data/models/q.mm");
    written.push_back("data/models/q.mm");
    return written;
}

}  // namespace datakit
