// Trees grown by recursive forking; figures assembled from ellipses,
// tapered strokes and polygons.
#include "tools/datakit/Silhouettes.h"

#include "tools/datakit/DetMath.h"
#include "tools/datakit/Random.h"

namespace datakit {
namespace {

void Branch(Mask& mask, Random& rng, Point start, double angle, double length, double width,
            int depth) {
    // Two bends per branch so limbs wander rather than run straight.
    Point p = start;
    double a = angle;
    double w = width;
    for (int s = 0; s < 3; ++s) {
        a += rng.Range(-0.22, 0.22);
        Point q{p.x + Sin(a) * length / 3.0, p.y - Cos(a) * length / 3.0};
        double wq = w * 0.9;
        Stroke(mask, p, q, w, wq);
        p = q;
        w = wq;
    }
    if (depth == 0 || width < 0.35) {
        return;
    }
    int children = rng.Uniform() < 0.35 ? 3 : 2;
    for (int c = 0; c < children; ++c) {
        double spread = rng.Range(0.25, 0.65) * (c == 0 ? -1.0 : 1.0);
        if (c == 2) {
            spread = rng.Range(-0.15, 0.15);
        }
        Branch(mask, rng, p, a + spread, length * rng.Range(0.62, 0.8), w * rng.Range(0.55, 0.72),
               depth - 1);
    }
}

}  // namespace

void DrawBareTree(Mask& mask, Point root, double height, std::uint32_t seed, double lean) {
    Random rng(seed);
    Branch(mask, rng, root, lean, height * 0.42, height * 0.028, 7);
    // Roots flaring into the ground.
    Stroke(mask, {root.x - height * 0.05, root.y + 2}, {root.x, root.y - height * 0.06},
           height * 0.006, height * 0.02);
    Stroke(mask, {root.x + height * 0.05, root.y + 2}, {root.x, root.y - height * 0.06},
           height * 0.006, height * 0.02);
}

Point DrawCloakedFigure(Mask& mask, Point feet, double height) {
    const double H = height, x = feet.x, y = feet.y;
    // Hood: a rounded head with a drooping point at the back.
    FillEllipse(mask, x + 0.01 * H, y - 0.855 * H, 0.075 * H, 0.1 * H);
    FillPolygon(mask, {{x - 0.05 * H, y - 0.93 * H},
                       {x - 0.02 * H, y - 0.985 * H},
                       {x + 0.06 * H, y - 0.93 * H},
                       {x + 0.07 * H, y - 0.82 * H},
                       {x - 0.07 * H, y - 0.82 * H}});
    // Robe: narrow shoulders flaring to a ragged hem.
    std::vector<Point> robe{{x - 0.07 * H, y - 0.8 * H},
                            {x + 0.08 * H, y - 0.8 * H},
                            {x + 0.17 * H, y - 0.69 * H},
                            {x + 0.2 * H, y - 0.4 * H},
                            {x + 0.25 * H, y - 0.02 * H}};
    Random rng(71);
    // A frayed hem: uneven tatters rather than regular teeth.
    for (int i = 0; i <= 18; ++i) {
        double t = i / 18.0;
        double hx = x + 0.25 * H - t * 0.5 * H + rng.Range(-0.008, 0.008) * H;
        double hy = y - rng.Uniform() * rng.Uniform() * 0.05 * H;
        robe.push_back({hx, hy});
    }
    robe.push_back({x - 0.21 * H, y - 0.4 * H});
    robe.push_back({x - 0.16 * H, y - 0.69 * H});
    FillPolygon(mask, robe);
    // Right sleeve reaching the scythe.
    Stroke(mask, {x + 0.13 * H, y - 0.66 * H}, {x + 0.25 * H, y - 0.5 * H}, 0.05 * H, 0.035 * H);
    Point grip{x + 0.27 * H, y - 0.48 * H};
    Point shaftTop{x + 0.33 * H, y - 1.18 * H};
    Point shaftFoot{x + 0.225 * H, y + 0.01 * H};
    Stroke(mask, shaftFoot, shaftTop, 0.009 * H, 0.008 * H);
    FillDisc(mask, grip.x, grip.y, 0.025 * H);
    // The blade sweeps back from the top of the shaft.
    std::vector<Point> blade = Bezier(shaftTop, {shaftTop.x - 0.2 * H, shaftTop.y - 0.1 * H},
                                      {shaftTop.x - 0.5 * H, shaftTop.y + 0.16 * H}, 40);
    StrokePath(mask, blade, 0.024 * H, 0.002 * H);
    // Left sleeve hanging forward with a lantern.
    Stroke(mask, {x - 0.12 * H, y - 0.66 * H}, {x - 0.2 * H, y - 0.46 * H}, 0.05 * H, 0.03 * H);
    Point lantern{x - 0.215 * H, y - 0.34 * H};
    Stroke(mask, {x - 0.205 * H, y - 0.45 * H}, {lantern.x, lantern.y - 0.04 * H}, 0.003 * H,
           0.003 * H);
    FillRect(mask, lantern.x - 0.022 * H, lantern.y - 0.04 * H, lantern.x + 0.022 * H,
             lantern.y + 0.03 * H, 1.0);
    return lantern;
}

void DrawDressedFigure(Mask& mask, Point feet, double height) {
    const double H = height, x = feet.x, y = feet.y;
    auto at = [&](double dx, double up) { return Point{x + dx * H, y - up * H}; };
    FillEllipse(mask, x, y - 0.915 * H, 0.042 * H, 0.054 * H);
    // Hair: a mass behind the head, then strands streaming to the left.
    FillEllipse(mask, x - 0.014 * H, y - 0.925 * H, 0.052 * H, 0.058 * H);
    Random rng(5);
    for (int i = 0; i < 26; ++i) {
        double s = i / 25.0;
        Point root = at(-0.01 - 0.03 * s, 0.965 - 0.1 * s);
        Point tip =
            at(-(0.2 + 0.22 * s + rng.Range(0.0, 0.05)), 0.93 - 0.3 * s + rng.Range(-0.03, 0.03));
        Point bend = at(-(0.1 + 0.1 * s), 0.99 - 0.1 * s + 0.04 * Sin(i * 1.7));
        StrokePath(mask, Bezier(root, bend, tip, 30), (0.018 - 0.006 * s) * H, 0.0015 * H);
    }
    Stroke(mask, at(0.0, 0.87), at(0.0, 0.82), 0.016 * H, 0.019 * H);
    // Dress: shoulders, bodice, waist, and a long skirt pooling on the water.
    std::vector<Point> dress{at(-0.07, 0.825), at(0.07, 0.825), at(0.06, 0.72), at(0.038, 0.6),
                             at(0.07, 0.5),    at(0.15, 0.2),   at(0.24, 0.0)};
    for (int i = 1; i < 12; ++i) {
        double t = i / 12.0;
        dress.push_back(at(0.24 - 0.56 * t + rng.Range(-0.01, 0.01), 0.012 * Sin(i * 2.1)));
    }
    dress.insert(dress.end(),
                 {at(-0.32, 0.0), at(-0.17, 0.2), at(-0.07, 0.5), at(-0.04, 0.6), at(-0.06, 0.72)});
    FillPolygon(mask, dress);
    // Arms held a little away from the body.
    for (double side : {-1.0, 1.0}) {
        Point shoulder = at(0.065 * side, 0.8), elbow = at(0.1 * side, 0.63),
              hand = at(0.13 * side, 0.48);
        Stroke(mask, shoulder, elbow, 0.021 * H, 0.015 * H);
        Stroke(mask, elbow, hand, 0.015 * H, 0.011 * H);
        FillEllipse(mask, hand.x, hand.y + 0.012 * H, 0.011 * H, 0.018 * H);
    }
}

void DrawSeatedFigure(Mask& mask, Point floor, double height) {
    const double H = height, x = floor.x, y = floor.y;
    auto at = [&](double dx, double up) { return Point{x + dx * H, y - up * H}; };
    // Chair: a tall back with a knob, the seat, two pairs of legs.
    Stroke(mask, at(-0.19, 0.0), at(-0.17, 1.08), 0.018 * H, 0.016 * H);
    FillDisc(mask, x - 0.17 * H, y - 1.1 * H, 0.025 * H);
    Stroke(mask, at(-0.13, 0.45), at(-0.12, 0.98), 0.01 * H, 0.01 * H);
    FillRect(mask, x - 0.21 * H, y - 0.47 * H, x + 0.21 * H, y - 0.43 * H);
    Stroke(mask, at(0.17, 0.44), at(0.18, 0.0), 0.016 * H, 0.014 * H);
    Stroke(mask, at(0.1, 0.44), at(0.11, 0.03), 0.011 * H, 0.01 * H);
    // Sitter, slumped: a rounded back up to a bowed head.
    StrokePath(mask, Bezier(at(-0.07, 0.5), at(-0.16, 0.74), at(0.02, 0.88), 24), 0.075 * H,
               0.05 * H);
    Stroke(mask, at(0.02, 0.87), at(0.07, 0.92), 0.03 * H, 0.026 * H);
    FillEllipse(mask, x + 0.095 * H, y - 0.96 * H, 0.055 * H, 0.066 * H);
    // Thigh along the seat, shin to the floor, foot.
    Stroke(mask, at(-0.05, 0.5), at(0.25, 0.54), 0.07 * H, 0.05 * H);
    Stroke(mask, at(0.25, 0.53), at(0.28, 0.05), 0.046 * H, 0.032 * H);
    Stroke(mask, at(0.26, 0.025), at(0.37, 0.02), 0.026 * H, 0.02 * H);
    // Arm hanging to the knee, hands folded there.
    Stroke(mask, at(0.03, 0.82), at(0.1, 0.63), 0.035 * H, 0.03 * H);
    Stroke(mask, at(0.1, 0.63), at(0.23, 0.58), 0.028 * H, 0.022 * H);
    FillEllipse(mask, x + 0.25 * H, y - 0.58 * H, 0.03 * H, 0.024 * H);
}

}  // namespace datakit
