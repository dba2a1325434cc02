// The start-up prompt as the page asks it, and leaving the page after a quit.
#pragma once

enum class ModeAnswer { Fullscreen, Windowed, Quit };

ModeAnswer AskModeOnPage();
void LeavePage();
