// Model W: plinth, twisted five-lobed shaft with carved bands, capital,
// three bronze rings and a bronze orb with a tilted band. All parts hang
// from the helper "W_base". The show looks at W from 1200 units away with
// a camera tilted up by about 22 degrees and places W's origin 100 units
// below its own eye line, so the view there spans roughly y = 80 to 1270
// of W's frame: the column's foot stands 90 units above the origin, just
// inside the bottom of the frame, and its crown rises about 950 units
// higher, near the top.
#include <cmath>

#include "tools/datakit/DetMath.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/MeshWriter.h"
#include "tools/datakit/Models.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/SurfaceMaps.h"

namespace datakit {
namespace {

constexpr double kShaftBottom = 86.0, kShaftHeight = 760.0;
constexpr double kTwistTurns = 1.25;

Material Stone() {
    return {"W_stone",
            Rgb8(60, 56, 52),
            Rgb8(178, 168, 150),
            Rgb8(90, 88, 84),
            0.25,
            0.3,
            {"w_stone_diffuse.png", "w_stone_height.png", "w_stone_gloss.png"}};
}

Material Bronze() {
    return {"W_bronze",
            Rgb8(50, 40, 28),
            Rgb8(190, 140, 80),
            Rgb8(255, 220, 170),
            0.75,
            0.9,
            {"w_bronze_diffuse.png", "w_bronze_height.png", "w_bronze_gloss.png"}};
}

Mesh Part(const std::string& name, const std::string& material, double z) {
    Mesh m;
    m.name = name;
    m.parent = "W_base";
    m.material = material;
    m.translation = {0.0, 0.0, z};
    return m;
}

// The shaft's radius at an angle and height: five lobes that twist as they
// rise, a slight swelling, carved bands and weathered relief.
double ShaftRadius(double angle, double z) {
    double h = z / kShaftHeight;
    double twist = kTwistTurns * kTwoPi * h;
    double swell = 64.0 + 9.0 * Sin(kPi * h);
    double lobes = 1.0 + 0.17 * Cos(5.0 * (angle - twist));
    double band = Pow(std::fabs(Sin(kPi * z / 95.0)), 14.0);
    double relief = Fbm3(Cos(angle) * 1.6, Sin(angle) * 1.6, z / 70.0, 4, 3001);
    return swell * lobes - 6.0 * band + 5.0 * relief;
}

}  // namespace

Model BuildModelW() {
    Model model;
    model.title = "model W: twisted column";
    model.materials = {Stone(), Bronze()};
    model.helpers = {{"W_base", {0.0, 0.0, 90.0}}};

    Mesh plinth = Part("W_plinth", "W_stone", 0.0);
    AddSurface(plinth,
               Lathe(Profile({{0, 0},
                              {128, 0},
                              {128, 18},
                              {116, 24},
                              {116, 40},
                              {104, 46},
                              {104, 60},
                              {84, 68},
                              {0, 68}}),
                     [](double a) { return SquareSection(a, 6.0); }),
               {48, 36, 4.0, 1.5});
    model.meshes.push_back(plinth);

    Mesh shaft = Part("W_shaft", "W_stone", kShaftBottom);
    AddSurface(shaft,
               [](double s, double t) {
                   double angle = kTwoPi * s, z = t * kShaftHeight;
                   double r = ShaftRadius(angle, z);
                   return Vec{r * Cos(angle), r * Sin(angle), z};
               },
               {64, 110, 3.0, 6.0});
    model.meshes.push_back(shaft);

    Mesh capital = Part("W_capital", "W_stone", kShaftBottom + kShaftHeight - 6.0);
    AddSurface(capital,
               Lathe(Profile({{0, 0},
                              {62, 0},
                              {62, 8},
                              {86, 22},
                              {94, 34},
                              {94, 42},
                              {72, 48},
                              {44, 56},
                              {0, 58}}),
                     [](double a) { return SquareSection(a, 4.0); }),
               {48, 24, 3.0, 1.0});
    model.meshes.push_back(capital);

    const double ringHeights[] = {190.0, 380.0, 570.0};
    for (int i = 0; i < 3; ++i) {
        Mesh ring =
            Part("W_ring_" + std::to_string(i + 1), "W_bronze", kShaftBottom + ringHeights[i]);
        const double R = 102.0, r = 11.0;
        AddSurface(
            ring,
            [=](double s, double t) {
                // s around the column, t around the ring's own tube.
                double a = kTwoPi * s, b = kTwoPi * t;
                double rr = r * (1.0 + 0.08 * Cos(12.0 * a));
                return Vec{(R + rr * Cos(b)) * Cos(a), (R + rr * Cos(b)) * Sin(a), rr * Sin(b)};
            },
            {48, 12, 6.0, 1.0});
        model.meshes.push_back(ring);
    }

    const double orbZ = kShaftBottom + kShaftHeight + 69.0 + 42.0;
    Mesh orb = Part("W_orb", "W_bronze", orbZ);
    AddSurface(orb,
               Lathe(
                   [](double t) {
                       double phi = kPi * (t - 0.5);
                       return Vec{42.0 * Cos(phi), 0.0, 42.0 * Sin(phi)};
                   },
                   [](double) { return 1.0; }),
               {36, 20, 2.0, 1.0});
    model.meshes.push_back(orb);

    Mesh band = Part("W_orb_band", "W_bronze", orbZ);
    AddSurface(band,
               [](double s, double t) {
                   double a = kTwoPi * s, b = kTwoPi * t;
                   const double R = 57.0, r = 4.5;
                   Vec p{(R + r * Cos(b)) * Cos(a), (R + r * Cos(b)) * Sin(a), r * Sin(b)};
                   // Tilted 0.5 rad about x.
                   double c = Cos(0.5), sn = Sin(0.5);
                   return Vec{p.x, p.y * c - p.z * sn, p.y * sn + p.z * c};
               },
               {48, 6, 6.0, 1.0});
    model.meshes.push_back(band);

    model.lights = {{"W_key_light",
                     {-420.0, -260.0, 900.0},
                     Normalized({0.6, 0.4, -0.7}),
                     Rgb8(255, 226, 190),
                     1.2}};
    return model;
}

std::vector<std::string> WriteModelW(const std::filesystem::path& root) {
    std::vector<std::string> written;
    for (auto [stem, field] :
         {std::pair{"w_stone", &CarvedStone}, std::pair{"w_bronze", &PatinatedBronze}}) {
        for (const std::string& name : WriteSurface(root, stem, field, 512)) {
            written.push_back("textures/" + name);
        }
    }
    WriteMotionModel(BuildModelW(), root / "data/models/w.mm");
    written.push_back("data/models/w.mm");
    return written;
}

}  // namespace datakit
