// Finding a strip's grid and merging its straight runs of steps.
#include "device/StraightRowSteps.h"

#include "device/VertexFormats.h"

#include <cmath>
#include <cstring>

namespace ember {

namespace {

constexpr UINT kColourOffset = 12;
constexpr UINT kUvOffset = 16;

// The picture vertex's position and texture coordinates.
struct VertexPoint {
    float value[5];
};

VertexPoint PointOf(const BYTE* vertices, WORD index) {
    const BYTE* vertex = vertices + std::size_t(index) * kPictureStride;
    VertexPoint point;
    std::memcpy(point.value, vertex, 3 * sizeof(float));
    std::memcpy(point.value + 3, vertex + kUvOffset, 2 * sizeof(float));
    return point;
}

bool SameColour(const BYTE* vertices, WORD a, WORD b) {
    return std::memcmp(vertices + std::size_t(a) * kPictureStride + kColourOffset,
                       vertices + std::size_t(b) * kPictureStride + kColourOffset, 4) == 0;
}

float Distance(const BYTE* vertices, WORD a, WORD b) {
    const VertexPoint p = PointOf(vertices, a);
    const VertexPoint q = PointOf(vertices, b);
    float sum = 0.0f;
    for (int i = 0; i < 3; ++i) {
        sum += (p.value[i] - q.value[i]) * (p.value[i] - q.value[i]);
    }
    return std::sqrt(sum);
}

// The grid: rows + 1 rows of columns vertices each; step s pairs row s with
// row s + 1.
class StripGrid {
public:
    StripGrid(const WORD* indices, UINT columns, UINT steps)
        : indices_(indices), columns_(columns), steps_(steps) {}

    // Whether every step's second row is the next step's first.
    bool Holds() const {
        for (UINT step = 0; step + 1 < steps_; ++step) {
            for (UINT column = 0; column < columns_; ++column) {
                if (indices_[(step * columns_ + column) * 2 + 1] !=
                    indices_[((step + 1) * columns_ + column) * 2]) {
                    return false;
                }
            }
        }
        return true;
    }

    WORD At(UINT row, UINT column) const {
        return row == 0 ? indices_[2 * column] : indices_[((row - 1) * columns_ + column) * 2 + 1];
    }

    UINT Columns() const { return columns_; }
    UINT Steps() const { return steps_; }

private:
    const WORD* indices_;
    UINT columns_;
    UINT steps_;
};

// Whether step row -> row + 1 moves every column by step (exactly, as the
// differences of the floats) and keeps its colour.
bool StepIs(const StripGrid& grid, const BYTE* vertices, UINT row, const VertexPoint& step) {
    for (UINT column = 0; column < grid.Columns(); ++column) {
        const WORD from = grid.At(row, column);
        const WORD to = grid.At(row + 1, column);
        const VertexPoint a = PointOf(vertices, from);
        const VertexPoint b = PointOf(vertices, to);
        for (int i = 0; i < 5; ++i) {
            const float difference = b.value[i] - a.value[i];
            if (!std::isfinite(a.value[i]) || !std::isfinite(b.value[i]) ||
                std::memcmp(&difference, &step.value[i], sizeof difference) != 0) {
                return false;
            }
        }
        if (!SameColour(vertices, from, to)) {
            return false;
        }
    }
    return true;
}

VertexPoint StepOf(const StripGrid& grid, const BYTE* vertices, UINT row) {
    const VertexPoint a = PointOf(vertices, grid.At(row, 0));
    const VertexPoint b = PointOf(vertices, grid.At(row + 1, 0));
    VertexPoint step;
    for (int i = 0; i < 5; ++i) {
        step.value[i] = b.value[i] - a.value[i];
    }
    return step;
}

// A join's triangle is no wider than this share of a column's: a closed
// ring's last vertex meets its first only to the rounding of its sine.
constexpr float kJoinWidthShare = 1.0e-5f;

// Steps join through the last column of one row and the first of the next;
// their triangles cover nothing only where those two vertices meet.
bool JoinsHaveNoArea(const StripGrid& grid, const BYTE* vertices) {
    for (UINT row = 1; row < grid.Steps(); ++row) {
        const float join = Distance(vertices, grid.At(row, 0), grid.At(row, grid.Columns() - 1));
        const float column = Distance(vertices, grid.At(row, 0), grid.At(row, 1));
        if (!(join <= kJoinWidthShare * column)) {
            return false;
        }
    }
    return true;
}

std::vector<WORD> Merged(const StripGrid& grid, const BYTE* vertices) {
    std::vector<UINT> bandRows{0};
    UINT row = 0;
    while (row < grid.Steps()) {
        const VertexPoint step = StepOf(grid, vertices, row);
        UINT end = row + 1;
        if (StepIs(grid, vertices, row, step)) {
            while (end < grid.Steps() && StepIs(grid, vertices, end, step)) {
                ++end;
            }
        }
        bandRows.push_back(end);
        row = end;
    }
    if (bandRows.size() - 1 == grid.Steps()) {
        return {};
    }
    std::vector<WORD> merged;
    merged.reserve((bandRows.size() - 1) * grid.Columns() * 2);
    for (std::size_t band = 0; band + 1 < bandRows.size(); ++band) {
        for (UINT column = 0; column < grid.Columns(); ++column) {
            merged.push_back(grid.At(bandRows[band], column));
            merged.push_back(grid.At(bandRows[band + 1], column));
        }
    }
    return merged;
}

}  // namespace

std::vector<WORD> MergeStraightRowSteps(const WORD* indices, UINT indexCount, const BYTE* vertices,
                                        UINT vertexCount) {
    for (UINT i = 0; i < indexCount; ++i) {
        if (indices[i] >= vertexCount) {
            return {};
        }
    }
    // A step is 2 * columns indices; the first step's second row starts the
    // second step.
    for (UINT columns = 2; 4 * columns <= indexCount; ++columns) {
        if (indexCount % (2 * columns) != 0 || indices[1] != indices[2 * columns]) {
            continue;
        }
        const StripGrid grid(indices, columns, indexCount / (2 * columns));
        if (grid.Holds()) {
            return JoinsHaveNoArea(grid, vertices) ? Merged(grid, vertices) : std::vector<WORD>{};
        }
    }
    return {};
}

}  // namespace ember
