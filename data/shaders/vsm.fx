// vsm.fx: the render device's own effect. Pictures and the tunnel are drawn
// with "RenderTunnel" (the texel tinted by the vertex colour and the colour
// factors, fA as opacity); the scratch mask with "RenderMask" (the texel over
// the frame by its own alpha, whatever colour factors the rows left).

uniform mat4 World;
uniform mat4 View;
uniform mat4 WVP;
uniform float fR = 1.0;
uniform float fG = 1.0;
uniform float fB = 1.0;
uniform float fA = 1.0;
uniform float fTime;
uniform float fBassValue;
uniform float fPitchValue;
uniform sampler2D Picture;

// A little film grain that moves with the clock, so stills never freeze.
float Grain(vec2 pixel, float time) {
    return fract(sin(dot(pixel + fract(time * 7.13) * 97.0, vec2(12.9898, 78.233))) * 43758.547);
}

vertex PictureVS {
    layout(location = ATTR_POSITION) in vec3 position;
    layout(location = ATTR_COLOR) in vec4 colour;
    layout(location = ATTR_TEXCOORD0) in vec2 uv;
    out vec4 vColour;
    out vec2 vUv;
    void main() {
        gl_Position = vec4(position, 1.0) * WVP;
        vColour = colour;
        vUv = uv;
    }
}

fragment TunnelFS {
    in vec4 vColour;
    in vec2 vUv;
    out vec4 colour;
    void main() {
        vec4 texel = texture(Picture, vUv) * vColour;
        // The bass lifts the light a little.
        vec3 tint = vec3(fR, fG, fB) * (1.0 + 0.35 * clamp(fBassValue, 0.0, 1.0));
        float grain = (Grain(gl_FragCoord.xy, fTime) - 0.5) * 0.06;
        colour = vec4(texel.rgb * tint + grain, clamp(texel.a * fA, 0.0, 1.0));
    }
}

fragment MaskFS {
    in vec4 vColour;
    in vec2 vUv;
    out vec4 colour;
    void main() {
        colour = texture(Picture, vUv);
    }
}

// The nearest mipmap level, not a blend of two: on a software rasteriser
// that halves the filtering of the tunnel, whose far end is minified, and
// neighbouring levels of it differ little. Pictures seen magnified read
// their top level either way.
sampler_state Picture {
    AddressU = Wrap;
    AddressV = Wrap;
    MinFilter = Linear;
    MagFilter = Linear;
    MipFilter = Point;
}

technique RenderTunnel {
    pass P0 {
        AlphaBlendEnable = true;
        SrcBlend = SrcAlpha;
        DestBlend = InvSrcAlpha;
        ZEnable = true;
        ZWriteEnable = false;
        CullMode = None;
        VertexShader = PictureVS;
        PixelShader = TunnelFS;
    }
}

technique RenderMask {
    pass P0 {
        AlphaBlendEnable = true;
        SrcBlend = SrcAlpha;
        DestBlend = InvSrcAlpha;
        ZEnable = false;
        ZWriteEnable = false;
        CullMode = None;
        VertexShader = PictureVS;
        PixelShader = MaskFS;
    }
}
