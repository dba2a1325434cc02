// Every kind of block: shared code, two stages, a sampler with states and
// a technique of two passes with render states.
uniform mat4 WVP = mat4(2.0);
uniform vec4 tint = vec4(1.0, 0.5, -0.25, 1.0), glow;
uniform float fA = -1.5e-1;
uniform sampler2D picture;
uniform sampler2D second;
#define SCALE 2.0
vec4 Shade(vec4 c) { return c * tint * fA; }
vertex V {
    layout(location = ATTR_POSITION) in vec3 position;
    layout(location = ATTR_TEXCOORD0) in vec2 uv;
    out vec2 vUv;
    void main() { gl_Position = vec4(position, 1.0) * WVP; vUv = uv * SCALE; }
}
fragment F {
    in vec2 vUv;
    out vec4 colour;
    void main() { colour = Shade(texture(picture, vUv) + texture(second, vUv)); }
}
sampler_state picture { AddressU = Clamp; AddressV = Mirror; MinFilter = Linear; MipFilter = Point; }
sampler_state second { Stage = 3; MagFilter = Anisotropic; }
technique Two {
    pass First { AlphaBlendEnable = true; SrcBlend = SrcAlpha; DestBlend = InvSrcAlpha;
                 ZEnable = false; CullMode = None; AlphaTestEnable = 1; AlphaRef = 128;
                 AlphaFunc = Greater; VertexShader = V; PixelShader = F; }
    pass { ZWriteEnable = false; ZFunc = Always; BlendOp = RevSubtract; FillMode = Wireframe;
           VertexShader = V; FragmentShader = F; }
}
technique Plain { pass P { VertexShader = V; PixelShader = F; } }
