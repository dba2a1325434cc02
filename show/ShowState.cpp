// The show's process-wide state.
#include "show/ShowState.h"

ShowState g_show;
FrameLineHook g_frameLineHook = nullptr;
