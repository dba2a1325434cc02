// The mask row: the scratch texture laid over the whole view in every
// frame, with whatever colour factors the last picture row left.
#include "show/RowSteps.h"
#include "show/ShowResources.h"
#include "show/ShowRows.h"
#include "show/ShowState.h"

// At distance 43 the 58 x 40 quad covers the whole 45-degree view.
void DrawScratchMask() {
    SetCamera(0.0f, 0.0f, 1.0f);
    Matrix4 world;
    D3DXMatrixTranslation(&world, 0.0f, 1.0f, -42.0f);
    SetWorldAndWVP(world, g_show.projection45);
    DrawPicture("RenderMask", g_pictureBufferIds[kPictureScratchMask], 1);
}
