// The show's fixed schedule of fifteen overlapping time windows.
#include "show/Schedule.h"

#include "show/ShowRows.h"

const ScheduleRow kSchedule[kScheduleRowCount] = {
    {1, 0.0f, false, 50.0f, false, DrawDeathIsWaiting},
    {2, 97.0f, true, 120.0f, true, DrawTunnel},
    {3, 29.0f, true, 94.0f, false, DrawWaitingForDeath},
    {4, 29.0f, true, 80.0f, true, DrawModelW},
    {5, 97.0f, true, 155.0f, true, DrawModelQ},
    {6, 4.0f, true, 30.0f, true, DrawNny},
    {7, 22.0f, true, 45.0f, true, DrawVic},
    {8, 52.0f, true, 144.0f, true, DrawNothing},
    {9, 136.0f, true, 171.0f, true, DrawN},
    {10, 115.0f, true, 171.0f, true, DrawDreamWithMe},
    {11, 87.0f, true, 100.0f, true, DrawFlourish},
    {12, 24.0f, true, 107.0f, true, DrawBothParticleSystems},
    {13, 106.0f, true, 107.0f, true, ResetSecondParticleSystem},
    {14, 107.0f, true, 170.0f, true, DrawSecondParticleSystemOrbit},
    {15, 0.0f, true, 180.0f, true, DrawScratchMask},
};

bool RowRunsAt(const ScheduleRow& row, float t) {
    const bool afterStart = row.fromIncluded ? row.from <= t : row.from < t;
    const bool beforeEnd = row.toIncluded ? t <= row.to : t < row.to;
    return afterStart && beforeEnd;
}

void RunSchedule(float t) {
    for (const ScheduleRow& row : kSchedule) {
        if (RowRunsAt(row, t)) {
            row.draw();
        }
    }
}
