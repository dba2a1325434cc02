// The program-wide objects that start-up creates and the show draws with.
#include "show/ShowObjects.h"

CRenderDevice* g_renderDevice = nullptr;
ID3DXEffect* g_offsetMappingEffect = nullptr;
LoadMM g_modelW;
LoadMM g_modelQ;
