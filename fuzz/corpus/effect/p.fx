// p.fx: the particle systems' effect. Every particle is the unit quad turned
// to face the camera at its world position (the translation of "World"),
// P_size wide in view space, showing the flare tinted by K_diffuse and faded
// by fA, added onto the frame.

uniform mat4 World;
uniform mat4 View;
uniform mat4 Proj;
uniform float P_size = 1.0;
uniform vec4 K_diffuse = vec4(1.0);
uniform float fA = 1.0;
uniform sampler2D g_BaseTexture;

// World units of sprite per unit of P_size: sizes run up to 9.25, and this
// keeps the largest sprites small glowing motes rather than blobs.
const float kSpriteScale = 0.3;
// The particles' projection is square but the frame is 4:3: narrowing the
// sprites by 3/4 keeps them round on screen.
const vec2 kSpriteShape = vec2(0.75, 1.0);

vertex SpriteVS {
    layout(location = ATTR_POSITION) in vec3 position;
    layout(location = ATTR_TEXCOORD0) in vec2 uv;
    out vec2 vUv;
    void main() {
        vec4 centre = vec4(0.0, 0.0, 0.0, 1.0) * World * View;
        centre.xy += position.xy * kSpriteShape * (P_size * kSpriteScale);
        gl_Position = centre * Proj;
        vUv = uv;
    }
}

// The flare is premultiplied by its alpha, so tint and fade scale the
// colour that is added.
fragment SpriteFS {
    in vec2 vUv;
    out vec4 colour;
    void main() {
        float fade = clamp(fA, 0.0, 1.0) * clamp(K_diffuse.a, 0.0, 1.0);
        vec4 texel = texture(g_BaseTexture, vUv);
        colour = vec4(texel.rgb * K_diffuse.rgb * fade, texel.a * fade);
    }
}

sampler_state g_BaseTexture {
    AddressU = Clamp;
    AddressV = Clamp;
    MinFilter = Linear;
    MagFilter = Linear;
    MipFilter = Linear;
}

technique ParticleTechnique {
    pass P0 {
        AlphaBlendEnable = true;
        SrcBlend = One;
        DestBlend = One;
        ZEnable = true;
        ZWriteEnable = false;
        CullMode = None;
        VertexShader = SpriteVS;
        PixelShader = SpriteFS;
    }
}
