// Fullscreen in a browser: the page asked for it inside the prompt's click,
// the only moment a browser grants it, and the canvas follows the page's
// size; the present letterboxes into it as into any window.
#include "fullscreen_window.h"

void CoverDisplay(GlWindow*) {}
