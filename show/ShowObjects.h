// The program-wide objects that start-up creates and the show draws with.
#pragma once

#include "model/LoadMM.h"
#include "render/RenderDevice.h"

#include <d3dx9.h>

// The render device, copied from the Renderer; never released.
extern CRenderDevice* g_renderDevice;
// The D3DX effect of "data\shaders\offset_mapper.fx", released in teardown.
extern ID3DXEffect* g_offsetMappingEffect;
// Model W ("data\models\w.mm") and model Q ("data\models\q.mm"), loaded by
// start-up and unloaded in teardown.
extern LoadMM g_modelW;
extern LoadMM g_modelQ;
