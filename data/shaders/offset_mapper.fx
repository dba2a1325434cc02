// offset_mapper.fx: the models. "TechniqueBMappingBlend" lights model W with
// normals bent by its height map and blends it by fA; "TechniqueParallaxMapping"
// shifts model Q's texture coordinates by the height seen along the view, so
// the surface seems to have depth. Stage 0 holds the diffuse map, stage 1 the
// height (bump) map, stage 2 the gloss map: the render device binds a skin's
// textures in that order.
//
// Kept cheap for a software rasteriser (Mesa's llvmpipe shades every pixel
// on the CPU): the maps are read from the nearest mipmap level, not blended
// from two, which halves the filtering (the models are far away, so their
// tiled maps are minified and neighbouring levels differ little; a magnified
// map reads as before), and the rim power is plain products.

uniform mat4 World;
uniform mat4 View;
uniform mat4 WVP;
uniform mat4 worldIT;
uniform vec4 eyeVec;
uniform vec4 mLightPos;
uniform float fA = 1.0;
uniform float fTime;
uniform float fPitchValue;
uniform sampler2D DiffuseMap;
uniform sampler2D HeightMap;
uniform sampler2D GlossMap;

const float kBumpStrength = 6.0;
const float kParallaxScale = 0.045;
const float kParallaxBias = -0.022;

// Towards the light: mLightPos with w = 0 is a direction, with w = 1 a point.
vec3 LightDirection(vec3 worldPosition) {
    vec3 towards = mLightPos.w == 0.0 ? mLightPos.xyz : mLightPos.xyz - worldPosition;
    return normalize(towards);
}

// The height map's slope as a tangent-space normal, not normalised: the
// caller normalises the normal it bends with it, which has the same direction.
vec3 HeightNormal(vec2 uv) {
    vec2 texel = 1.0 / vec2(textureSize(HeightMap, 0));
    float here = texture(HeightMap, uv).r;
    float right = texture(HeightMap, uv + vec2(texel.x, 0.0)).r;
    float down = texture(HeightMap, uv + vec2(0.0, texel.y)).r;
    return vec3((here - right) * kBumpStrength, (here - down) * kBumpStrength, 1.0);
}

vec3 Shade(vec2 uv, vec3 normal, vec3 light, vec3 view, vec4 vertexColour, float rimBoost) {
    vec4 diffuse = texture(DiffuseMap, uv) * vertexColour;
    float gloss = texture(GlossMap, uv).r;
    float lambert = max(dot(normal, light), 0.0);
    vec3 halfway = normalize(light + view);
    float specular = pow(max(dot(normal, halfway), 0.0), 8.0 + 56.0 * gloss) * gloss;
    float edge = 1.0 - max(dot(normal, view), 0.0);
    float rim = edge * edge * edge * rimBoost;
    vec3 ambient = diffuse.rgb * 0.18;
    return ambient + diffuse.rgb * lambert + vec3(1.0, 0.86, 0.7) * (specular + rim);
}

vertex ModelVS {
    layout(location = ATTR_POSITION) in vec3 position;
    layout(location = ATTR_NORMAL) in vec3 normal;
    layout(location = ATTR_COLOR) in vec4 colour;
    layout(location = ATTR_TEXCOORD0) in vec2 uv;
    layout(location = ATTR_TANGENT) in vec3 tangent;
    layout(location = ATTR_TEXCOORD1) in float handedness;
    out vec3 vWorldPosition;
    out vec3 vNormal;
    out vec3 vTangent;
    out vec3 vBitangent;
    out vec4 vColour;
    out vec2 vUv;
    void main() {
        gl_Position = vec4(position, 1.0) * WVP;
        vWorldPosition = (vec4(position, 1.0) * World).xyz;
        vNormal = (vec4(normal, 0.0) * worldIT).xyz;
        vTangent = (vec4(tangent, 0.0) * World).xyz;
        // v grows along handedness * (tangent x normal).
        vBitangent = handedness * cross(vTangent, normalize(vNormal));
        vColour = colour;
        vUv = uv;
    }
}

// Model Q's rows leave worldIT at model W's value, so its normals come
// through World instead.
vertex ParallaxVS {
    layout(location = ATTR_POSITION) in vec3 position;
    layout(location = ATTR_NORMAL) in vec3 normal;
    layout(location = ATTR_COLOR) in vec4 colour;
    layout(location = ATTR_TEXCOORD0) in vec2 uv;
    layout(location = ATTR_TANGENT) in vec3 tangent;
    layout(location = ATTR_TEXCOORD1) in float handedness;
    out vec3 vWorldPosition;
    out vec3 vNormal;
    out vec3 vTangent;
    out vec3 vBitangent;
    out vec4 vColour;
    out vec2 vUv;
    void main() {
        gl_Position = vec4(position, 1.0) * WVP;
        vWorldPosition = (vec4(position, 1.0) * World).xyz;
        vNormal = (vec4(normal, 0.0) * World).xyz;
        vTangent = (vec4(tangent, 0.0) * World).xyz;
        vBitangent = handedness * cross(vTangent, normalize(vNormal));
        vColour = colour;
        vUv = uv;
    }
}

fragment BumpFS {
    in vec3 vWorldPosition;
    in vec3 vNormal;
    in vec3 vTangent;
    in vec3 vBitangent;
    in vec4 vColour;
    in vec2 vUv;
    out vec4 colour;
    void main() {
        vec3 n = normalize(vNormal);
        vec3 t = normalize(vTangent - n * dot(n, vTangent));
        vec3 b = normalize(vBitangent);
        vec3 bent = HeightNormal(vUv);
        vec3 normal = normalize(t * bent.x + b * bent.y + n * bent.z);
        vec3 view = normalize(eyeVec.xyz - vWorldPosition);
        vec3 lit = Shade(vUv, normal, LightDirection(vWorldPosition), view, vColour, 0.25);
        colour = vec4(lit, clamp(fA, 0.0, 1.0));
    }
}

fragment ParallaxFS {
    in vec3 vWorldPosition;
    in vec3 vNormal;
    in vec3 vTangent;
    in vec3 vBitangent;
    in vec4 vColour;
    in vec2 vUv;
    out vec4 colour;
    void main() {
        vec3 n = normalize(vNormal);
        vec3 t = normalize(vTangent - n * dot(n, vTangent));
        vec3 b = normalize(vBitangent);
        vec3 view = normalize(eyeVec.xyz - vWorldPosition);
        vec3 viewTangent = vec3(dot(view, t), dot(view, b), dot(view, n));
        // One offset step; the pitch band deepens the relief a little.
        float depth = kParallaxScale * (1.0 + 0.5 * clamp(fPitchValue, 0.0, 2.0));
        float height = texture(HeightMap, vUv).r * depth + kParallaxBias;
        vec2 uv = vUv + height * viewTangent.xy;
        vec3 bent = HeightNormal(uv);
        vec3 normal = normalize(t * bent.x + b * bent.y + n * bent.z);
        // A slow shimmer of the light with the clock.
        float pulse = 0.9 + 0.1 * sin(fTime * 0.7);
        vec3 lit = Shade(uv, normal, LightDirection(vWorldPosition), view, vColour, 0.6) * pulse;
        colour = vec4(lit, clamp(fA, 0.0, 1.0));
    }
}

sampler_state DiffuseMap { Stage = 0; MinFilter = Linear; MagFilter = Linear; MipFilter = Point; }
sampler_state HeightMap { Stage = 1; MinFilter = Linear; MagFilter = Linear; MipFilter = Point; }
sampler_state GlossMap { Stage = 2; MinFilter = Linear; MagFilter = Linear; MipFilter = Point; }

technique TechniqueBMappingBlend {
    pass P0 {
        AlphaBlendEnable = true;
        SrcBlend = SrcAlpha;
        DestBlend = InvSrcAlpha;
        ZEnable = true;
        ZWriteEnable = true;
        CullMode = None;
        VertexShader = ModelVS;
        PixelShader = BumpFS;
    }
}

technique TechniqueParallaxMapping {
    pass P0 {
        AlphaBlendEnable = true;
        SrcBlend = SrcAlpha;
        DestBlend = InvSrcAlpha;
        ZEnable = true;
        ZWriteEnable = true;
        CullMode = None;
        VertexShader = ParallaxVS;
        PixelShader = ParallaxFS;
    }
}
