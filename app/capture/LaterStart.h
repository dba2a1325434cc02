// A run shown from a later show time (--from T): the clock and the music
// both start at T.
#pragma once

// Before start-up: the music will be heard from T once it plays.
void PrepareShowStart(double t);

// Once before the first frame, with the frame timer just made: the counter
// moves on by T, so the first frame's show clock is T.
void StartShowAt(double t);
