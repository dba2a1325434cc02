// Direct3D render and sampler states by name: as effect files write them
// (case-insensitive) and as the recording backend prints them.
#pragma once

#include <d3d9.h>

#include <string_view>

// The render states an effect pass may set ("AlphaBlendEnable", "SrcBlend",
// "DestBlend", "BlendOp", "ZEnable", "ZWriteEnable", "ZFunc", "CullMode",
// "AlphaTestEnable", "AlphaRef", "AlphaFunc", "FillMode").
bool RenderStateByName(std::string_view name, D3DRENDERSTATETYPE* state);
// A value for the state: its named values (true/false, SrcAlpha, CCW,
// LessEqual, ...) or a decimal or 0x number.
bool RenderStateValue(D3DRENDERSTATETYPE state, std::string_view text, DWORD* value);

// "AddressU", "AddressV", "AddressW", "MinFilter", "MagFilter", "MipFilter".
bool SamplerStateByName(std::string_view name, D3DSAMPLERSTATETYPE* state);
// Wrap/Mirror/Clamp/Border, None/Point/Linear/Anisotropic, or a number.
bool SamplerStateValue(D3DSAMPLERSTATETYPE state, std::string_view text, DWORD* value);

// "ZENABLE", "ADDRESSU", ...: the enum name without its prefix; "" when the
// state has no name here.
const char* RenderStateName(DWORD state);
const char* SamplerStateName(DWORD type);
