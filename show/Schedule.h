// The show's schedule: fifteen rows, each a time window over the Show clock
// and what draws in it, run in table order so later rows draw over earlier
// ones and see the shader parameters they left.
#pragma once

struct ScheduleRow {
    int number;  // 1 to 15, in table order
    float from;
    bool fromIncluded;  // from <= t, else from < t
    float to;
    bool toIncluded;  // t <= to, else t < to
    void (*draw)();
};

constexpr int kScheduleRowCount = 15;
extern const ScheduleRow kSchedule[kScheduleRowCount];

// Whether t lies in the row's window.
bool RowRunsAt(const ScheduleRow& row, float t);
// Runs every row whose window holds t, in table order.
void RunSchedule(float t);
