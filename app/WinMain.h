// The program's entry: start-up, the message loop and teardown, in order.
#pragma once

#include <windows.h>

// The start-up prompt's answer given in advance by the command line: IDYES
// (fullscreen) or IDNO (windowed). 0 shows the prompt.
extern int g_modePromptAnswer;

// Returns the exit code: 0 after a normal end or a quit at the prompt,
// E_FAIL after a start-up failure.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                   int showCommand);
