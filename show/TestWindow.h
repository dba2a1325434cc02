// TestWindow: the show. Its hooks are the window's OnInit and OnFrame.
#pragma once

#include "app/Window.h"

class TestWindow : public CWindow {
public:
    int OnInit() override;
    int OnFrame() override;
};
