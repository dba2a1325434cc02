// Name tables of render and sampler states and their values.
#include "state_names.h"

#include <cstdlib>
#include <string>

namespace {

struct NamedValue {
    const char* name;
    DWORD value;
};

enum class ValueKind { Bool, Blend, BlendOp, Cull, Compare, Fill, Number, Address, Filter };

struct NamedState {
    const char* name;      // as effect files write it
    const char* enumName;  // as the recording backend prints it
    DWORD state;
    ValueKind kind;
};

constexpr NamedValue kBoolValues[] = {{"true", TRUE}, {"false", FALSE}};
constexpr NamedValue kBlendValues[] = {
    {"Zero", D3DBLEND_ZERO},           {"One", D3DBLEND_ONE},
    {"SrcColor", D3DBLEND_SRCCOLOR},   {"InvSrcColor", D3DBLEND_INVSRCCOLOR},
    {"SrcAlpha", D3DBLEND_SRCALPHA},   {"InvSrcAlpha", D3DBLEND_INVSRCALPHA},
    {"DestAlpha", D3DBLEND_DESTALPHA}, {"InvDestAlpha", D3DBLEND_INVDESTALPHA},
    {"DestColor", D3DBLEND_DESTCOLOR}, {"InvDestColor", D3DBLEND_INVDESTCOLOR},
};
constexpr NamedValue kBlendOpValues[] = {
    {"Add", D3DBLENDOP_ADD},
    {"Subtract", D3DBLENDOP_SUBTRACT},
    {"RevSubtract", D3DBLENDOP_REVSUBTRACT},
    {"Min", D3DBLENDOP_MIN},
    {"Max", D3DBLENDOP_MAX},
};
constexpr NamedValue kCullValues[] = {
    {"None", D3DCULL_NONE}, {"CW", D3DCULL_CW}, {"CCW", D3DCULL_CCW}};
constexpr NamedValue kCompareValues[] = {
    {"Never", D3DCMP_NEVER},
    {"Less", D3DCMP_LESS},
    {"Equal", D3DCMP_EQUAL},
    {"LessEqual", D3DCMP_LESSEQUAL},
    {"Greater", D3DCMP_GREATER},
    {"NotEqual", D3DCMP_NOTEQUAL},
    {"GreaterEqual", D3DCMP_GREATEREQUAL},
    {"Always", D3DCMP_ALWAYS},
};
constexpr NamedValue kFillValues[] = {
    {"Point", D3DFILL_POINT}, {"Wireframe", D3DFILL_WIREFRAME}, {"Solid", D3DFILL_SOLID}};
constexpr NamedValue kAddressValues[] = {{"Wrap", D3DTADDRESS_WRAP},
                                         {"Mirror", D3DTADDRESS_MIRROR},
                                         {"Clamp", D3DTADDRESS_CLAMP},
                                         {"Border", D3DTADDRESS_BORDER}};
constexpr NamedValue kFilterValues[] = {{"None", D3DTEXF_NONE},
                                        {"Point", D3DTEXF_POINT},
                                        {"Linear", D3DTEXF_LINEAR},
                                        {"Anisotropic", D3DTEXF_ANISOTROPIC}};

constexpr NamedState kRenderStates[] = {
    {"ZEnable", "ZENABLE", D3DRS_ZENABLE, ValueKind::Bool},
    {"FillMode", "FILLMODE", D3DRS_FILLMODE, ValueKind::Fill},
    {"ZWriteEnable", "ZWRITEENABLE", D3DRS_ZWRITEENABLE, ValueKind::Bool},
    {"AlphaTestEnable", "ALPHATESTENABLE", D3DRS_ALPHATESTENABLE, ValueKind::Bool},
    {"SrcBlend", "SRCBLEND", D3DRS_SRCBLEND, ValueKind::Blend},
    {"DestBlend", "DESTBLEND", D3DRS_DESTBLEND, ValueKind::Blend},
    {"CullMode", "CULLMODE", D3DRS_CULLMODE, ValueKind::Cull},
    {"ZFunc", "ZFUNC", D3DRS_ZFUNC, ValueKind::Compare},
    {"AlphaRef", "ALPHAREF", D3DRS_ALPHAREF, ValueKind::Number},
    {"AlphaFunc", "ALPHAFUNC", D3DRS_ALPHAFUNC, ValueKind::Compare},
    {"AlphaBlendEnable", "ALPHABLENDENABLE", D3DRS_ALPHABLENDENABLE, ValueKind::Bool},
    {"Lighting", "LIGHTING", D3DRS_LIGHTING, ValueKind::Bool},
    {"BlendOp", "BLENDOP", D3DRS_BLENDOP, ValueKind::BlendOp},
};

constexpr NamedState kSamplerStates[] = {
    {"AddressU", "ADDRESSU", D3DSAMP_ADDRESSU, ValueKind::Address},
    {"AddressV", "ADDRESSV", D3DSAMP_ADDRESSV, ValueKind::Address},
    {"AddressW", "ADDRESSW", D3DSAMP_ADDRESSW, ValueKind::Address},
    {"MagFilter", "MAGFILTER", D3DSAMP_MAGFILTER, ValueKind::Filter},
    {"MinFilter", "MINFILTER", D3DSAMP_MINFILTER, ValueKind::Filter},
    {"MipFilter", "MIPFILTER", D3DSAMP_MIPFILTER, ValueKind::Filter},
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool ParseNumber(std::string_view text, DWORD* value) {
    if (text.empty()) {
        return false;
    }
    const std::string digits(text);
    char* end = nullptr;
    const unsigned long number = std::strtoul(digits.c_str(), &end, 0);
    if (*end != '\0' || number > 0xFFFFFFFFul) {
        return false;
    }
    *value = static_cast<DWORD>(number);
    return true;
}

template <std::size_t N>
bool FindValue(const NamedValue (&table)[N], std::string_view text, DWORD* value) {
    for (const NamedValue& entry : table) {
        if (SameIgnoringCase(entry.name, text)) {
            *value = entry.value;
            return true;
        }
    }
    return false;
}

bool ParseValue(ValueKind kind, std::string_view text, DWORD* value) {
    switch (kind) {
        case ValueKind::Bool:
            return FindValue(kBoolValues, text, value) || ParseNumber(text, value);
        case ValueKind::Blend:
            return FindValue(kBlendValues, text, value) || ParseNumber(text, value);
        case ValueKind::BlendOp:
            return FindValue(kBlendOpValues, text, value) || ParseNumber(text, value);
        case ValueKind::Cull:
            return FindValue(kCullValues, text, value) || ParseNumber(text, value);
        case ValueKind::Compare:
            return FindValue(kCompareValues, text, value) || ParseNumber(text, value);
        case ValueKind::Fill:
            return FindValue(kFillValues, text, value) || ParseNumber(text, value);
        case ValueKind::Address:
            return FindValue(kAddressValues, text, value) || ParseNumber(text, value);
        case ValueKind::Filter:
            return FindValue(kFilterValues, text, value) || ParseNumber(text, value);
        case ValueKind::Number:
            return ParseNumber(text, value);
    }
    return false;
}

template <std::size_t N>
const NamedState* StateByName(const NamedState (&table)[N], std::string_view name) {
    for (const NamedState& entry : table) {
        if (SameIgnoringCase(entry.name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

template <std::size_t N>
const NamedState* StateByValue(const NamedState (&table)[N], DWORD state) {
    for (const NamedState& entry : table) {
        if (entry.state == state) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace

bool RenderStateByName(std::string_view name, D3DRENDERSTATETYPE* state) {
    const NamedState* entry = StateByName(kRenderStates, name);
    if (entry == nullptr) {
        return false;
    }
    *state = static_cast<D3DRENDERSTATETYPE>(entry->state);
    return true;
}

bool RenderStateValue(D3DRENDERSTATETYPE state, std::string_view text, DWORD* value) {
    const NamedState* entry = StateByValue(kRenderStates, state);
    return entry != nullptr && ParseValue(entry->kind, text, value);
}

bool SamplerStateByName(std::string_view name, D3DSAMPLERSTATETYPE* state) {
    const NamedState* entry = StateByName(kSamplerStates, name);
    if (entry == nullptr) {
        return false;
    }
    *state = static_cast<D3DSAMPLERSTATETYPE>(entry->state);
    return true;
}

bool SamplerStateValue(D3DSAMPLERSTATETYPE state, std::string_view text, DWORD* value) {
    const NamedState* entry = StateByValue(kSamplerStates, state);
    return entry != nullptr && ParseValue(entry->kind, text, value);
}

const char* RenderStateName(DWORD state) {
    const NamedState* entry = StateByValue(kRenderStates, state);
    return entry != nullptr ? entry->enumName : "";
}

const char* SamplerStateName(DWORD type) {
    const NamedState* entry = StateByValue(kSamplerStates, type);
    return entry != nullptr ? entry->enumName : "";
}
