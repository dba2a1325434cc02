// Grid strips whose straight runs of steps are drawn as one step: which runs
// merge (the tunnel's whole length), where a bend, a colour or a texture
// coordinate breaks a run, and the strips left as they are.
#include "device/StraightRowSteps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

using ember::MergeStraightRowSteps;

struct PictureVertex {
    float x, y, z;
    DWORD colour;
    float u, v;
};
static_assert(sizeof(PictureVertex) == 24);

// A tube like the tunnel: rows of columns vertices around a ring of radius
// 30, the last on the first (to the sine's rounding), z and v advancing by
// a step per row unless alongRow says otherwise.
struct Tube {
    int rows;
    int columns;
    std::vector<PictureVertex> vertices;
    std::vector<WORD> indices;
};

template <typename AlongRow>
Tube MakeTube(int rows, int columns, AlongRow alongRow) {
    Tube tube{rows, columns, {}, {}};
    const float turn = 6.2831855f / float(columns - 1);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            PictureVertex vertex{std::sin(float(column) * turn) * 30.0f,
                                 std::cos(float(column) * turn) * 30.0f,
                                 -2.0f * float(row),
                                 0xFFFFFFFFu,
                                 float(column) / float(columns - 1),
                                 float(row) * 0.125f};
            alongRow(row, column, vertex);
            tube.vertices.push_back(vertex);
        }
    }
    for (int row = 0; row + 1 < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            tube.indices.push_back(WORD(row * columns + column));
            tube.indices.push_back(WORD((row + 1) * columns + column));
        }
    }
    return tube;
}

Tube MakeTube(int rows, int columns) {
    return MakeTube(rows, columns, [](int, int, PictureVertex&) {});
}

std::vector<WORD> Merge(const Tube& tube) {
    return MergeStraightRowSteps(tube.indices.data(), UINT(tube.indices.size()),
                                 reinterpret_cast<const BYTE*>(tube.vertices.data()),
                                 UINT(tube.vertices.size()));
}

// The merged strip's steps, as the rows they pair.
std::vector<int> BandRows(const std::vector<WORD>& merged, int columns) {
    std::vector<int> rows;
    for (std::size_t step = 0; step < merged.size(); step += 2 * std::size_t(columns)) {
        if (rows.empty()) {
            rows.push_back(merged[step] / columns);
        }
        rows.push_back(merged[step + 1] / columns);
    }
    return rows;
}

TEST(StraightRowSteps, AStraightTubeBecomesOneStepFromItsFirstRowToItsLast) {
    const Tube tube = MakeTube(65, 13);
    const std::vector<WORD> merged = Merge(tube);
    ASSERT_EQ(merged.size(), 2u * 13u);
    for (int column = 0; column < 13; ++column) {
        EXPECT_EQ(merged[2 * column], column);
        EXPECT_EQ(merged[2 * column + 1], 64 * 13 + column);
    }
}

TEST(StraightRowSteps, ABendAColourOrAnUnevenTextureStepEndsARun) {
    // The tube turns at row 20: from there z advances by 3 a row.
    const Tube bent = MakeTube(41, 9, [](int row, int, PictureVertex& vertex) {
        vertex.z = row <= 20 ? -2.0f * float(row) : -40.0f - 3.0f * float(row - 20);
    });
    EXPECT_EQ(BandRows(Merge(bent), 9), (std::vector<int>{0, 20, 40}));

    // One vertex of row 30 is tinted: the steps into and out of it stay.
    const Tube tinted = MakeTube(41, 9, [](int row, int column, PictureVertex& vertex) {
        if (row == 30 && column == 4) {
            vertex.colour = 0xFF808080u;
        }
    });
    EXPECT_EQ(BandRows(Merge(tinted), 9), (std::vector<int>{0, 29, 30, 31, 40}));

    // The texture is stretched from row 10 on.
    const Tube stretched = MakeTube(41, 9, [](int row, int, PictureVertex& vertex) {
        vertex.v = row <= 10 ? float(row) * 0.125f : 1.25f + float(row - 10) * 0.25f;
    });
    EXPECT_EQ(BandRows(Merge(stretched), 9), (std::vector<int>{0, 10, 40}));
}

TEST(StraightRowSteps, StripsThatAreNotStraightGridsAreLeftAsTheyAre) {
    // A cone: each column steps inwards by its own amount, so no two rows
    // of a column advance alike across the columns.
    const Tube cone = MakeTube(20, 9, [](int row, int column, PictureVertex& vertex) {
        const float shrink = 1.0f - 0.01f * float(row);
        const float turn = 6.2831855f / 8.0f;
        vertex.x = std::sin(float(column) * turn) * 30.0f * shrink;
        vertex.y = std::cos(float(column) * turn) * 30.0f * shrink;
    });
    EXPECT_TRUE(Merge(cone).empty());

    // An open sheet: the joins between steps are real triangles.
    const Tube sheet = MakeTube(20, 9, [](int, int column, PictureVertex& vertex) {
        vertex.x = float(column);
        vertex.y = 0.0f;
    });
    EXPECT_TRUE(Merge(sheet).empty());

    // A single step has nothing to merge with.
    EXPECT_TRUE(Merge(MakeTube(2, 9)).empty());

    // An index past the vertices.
    Tube broken = MakeTube(20, 9);
    broken.indices[37] = WORD(broken.vertices.size());
    EXPECT_TRUE(Merge(broken).empty());

    // A strip whose steps do not share their rows.
    Tube shuffled = MakeTube(20, 9);
    std::swap(shuffled.indices[40], shuffled.indices[41]);
    EXPECT_TRUE(Merge(shuffled).empty());

    // A position that is not a number (row 5): the steps into and out of
    // its row stay as they are.
    Tube unknown = MakeTube(20, 9);
    unknown.vertices[50].z = NAN;
    EXPECT_EQ(BandRows(Merge(unknown), 9), (std::vector<int>{0, 4, 5, 6, 19}));

    EXPECT_TRUE(MergeStraightRowSteps(nullptr, 0, nullptr, 0).empty());
}

}  // namespace
