// EmberFX::CEffect: the interface every effect offers, in fixed virtual
// slots. Effects are static objects that live until the process ends, so
// the interface has no virtual destructor and cannot be deleted through.
#pragma once

#include "render/RenderDevice.h"

namespace EmberFX {

class CEffect {
public:
    // Builds what the effect draws. 0, or E_FAIL when memory runs out.
    virtual HRESULT Init(CRenderDevice* device) = 0;  // slot 0
    // Draws with whatever shader state is current; always 0.
    virtual HRESULT Render(int unused) = 0;  // slot 1
    // Frees what Init built.
    virtual void Shutdown() = 0;  // slot 2
    // Two floats of the effect's own meaning, 0 and 0 from construction.
    virtual float* GetValuePair() = 0;                 // slot 3
    virtual void SetValuePair(const float* pair) = 0;  // slot 4

protected:
    ~CEffect() = default;
};

}  // namespace EmberFX
