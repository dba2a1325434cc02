// A run held at one show time (--hold T): the show in its window with its
// clock held at T (HeldClock.h) and the music analysed at T, frame after
// frame until Escape or the window closes. What a bench at T times, shown.
#pragma once

// Before start-up: the counter on the virtual clock, the audio in capture
// mode (heard only where the show clock puts it), and the hold after every
// frame.
void StartHeldShow(double t);

// Once before the first frame: the clock at T.
void BeginHeldFrames();
