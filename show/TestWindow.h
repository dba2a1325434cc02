// TestWindow: the show. OnInit opens the music and builds the projections;
// OnFrame runs one frame of the schedule; OnShutdown frees what the audio
// and the tunnel hold (the start-up sequence never calls it).
#pragma once

#include "app/Window.h"

class TestWindow : public CWindow {
public:
    int OnInit() override;
    int OnFrame() override;
    int OnShutdown() override;
};
