// The model rows: what they set on the offset-mapping effect, and the model
// draw through the effect's passes and the device's buffers.
#include "tests/show/ShowTestSupport.h"

#include <cmath>

namespace showtest {
namespace {

constexpr float kP = 0.0625f;
constexpr float kU = 0.25f;

class ModelRowsTest : public ShowTest {
protected:
    void FrameAt(float t) { FrameWithMusicAt(t, 0.0f, kP, kU); }

    float FloatSet(const std::string& name) const {
        const std::vector<EffectCall> sets = EffectSets("SetFloat", name);
        EXPECT_EQ(sets.size(), 1u) << name;
        return sets.empty() ? 0.0f : sets[0].value;
    }
    Matrix4 MatrixSet(const std::string& name) const {
        const std::vector<EffectCall> sets = EffectSets("SetMatrix", name);
        EXPECT_EQ(sets.size(), 1u) << name;
        return sets.empty() ? Matrix4{} : sets[0].matrix;
    }
    D3DXVECTOR4 VectorSet(const std::string& name) const {
        const std::vector<EffectCall> sets = EffectSets("SetVector", name);
        EXPECT_EQ(sets.size(), 1u) << name;
        return sets.empty() ? D3DXVECTOR4{} : sets[0].vector;
    }
    std::string EffectWords() const {
        std::string words;
        for (const EffectCall& call : effect_.Calls()) {
            words += (words.empty() ? "" : " ") + call.call;
            if (!call.name.empty()) {
                words += ":" + call.name;
            }
        }
        return words;
    }
};

Matrix4 ModelWorld(float turn, float sx, float sy, float sz, float x, float y, float z) {
    Matrix4 rotation;
    D3DXMatrixRotationY(&rotation, turn);
    Matrix4 scaling;
    D3DXMatrixScaling(&scaling, sx, sy, sz);
    return Product(Product(rotation, scaling), Translation(x, y, z));
}

void ExpectVector(const D3DXVECTOR4& v, float x, float y, float z, float w) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
    EXPECT_EQ(v.w, w);
}

const std::string kSettings =
    "SetMatrix:View SetFloat:fA SetFloat:fTime SetFloat:fPitchValue SetVector:eyeVec "
    "SetVector:mLightPos SetMatrix:World ";

TEST_F(ModelRowsTest, ModelWSetsItsParametersThenDrawsEveryBufferInEveryPass) {
    effect_.SetPassCount(2);
    const float t = 50.0f;
    FrameAt(t);
    EXPECT_EQ(EffectWords(), kSettings +
                                 "SetMatrix:worldIT SetMatrix:WVP "
                                 "GetTechniqueByName:TechniqueBMappingBlend "
                                 "SetTechnique:TechniqueBMappingBlend Begin BeginPass EndPass "
                                 "BeginPass EndPass End");
    EXPECT_EQ(effect_.CallsNamed("Begin").at(0).number, 0u);
    EXPECT_EQ(effect_.CallsNamed("BeginPass").at(1).number, 1u);
    std::vector<std::string> drawn;
    for (const DrawSeen& draw : frameDraws_) {
        if (draw.what[0] == 'W') {
            drawn.push_back(draw.what);
        }
    }
    EXPECT_EQ(drawn, (std::vector<std::string>{"W0", "W1", "W0", "W1"}));

    const Matrix4 view = LookAt(-0.6f, -4.0f, 10.0f);
    EXPECT_TRUE(SameBits(MatrixSet("View"), view));
    EXPECT_EQ(FloatSet("fA"), 10.0f * kP + 1.0f);
    EXPECT_EQ(FloatSet("fTime"), t);
    EXPECT_EQ(FloatSet("fPitchValue"), 1.0f);
    ExpectVector(VectorSet("eyeVec"), -0.6f, -4.0f, 10.0f, 0.0f);
    ExpectVector(VectorSet("mLightPos"), -400.5f, 100.5f, 100.0f, 0.0f);
    const Matrix4 world = ModelWorld(0.05f * t, 0.55f, 1.0f, 0.55f, 200.0f, -100.0f, -1200.0f);
    EXPECT_TRUE(SameBits(MatrixSet("World"), world));
    Matrix4 inverse;
    ASSERT_NE(D3DXMatrixInverse(&inverse, nullptr, &world), nullptr);
    Matrix4 inverseTranspose;
    D3DXMatrixTranspose(&inverseTranspose, &inverse);
    EXPECT_TRUE(SameBits(MatrixSet("worldIT"), inverseTranspose));
    EXPECT_TRUE(SameBits(MatrixSet("WVP"), Product(Product(world, view), Projection(0.7853982f))));
}

TEST_F(ModelRowsTest, ModelWFadesInAfter29AndOutFrom73) {
    struct Fade {
        float t;
        float fA;
    };
    const Fade fades[] = {
        {29.0f, 10.0f * kP + 1.0f},
        {35.0f, std::sin(0.1f * 6.0f)},
        {39.0f, 10.0f * kP + 1.0f},
        {73.0f, 1.0f},
        {76.0f, 1.0f - std::sin(0.2f * 3.0f)},
        {80.0f, 1.0f - std::sin(0.2f * 7.0f)},
    };
    for (const Fade& fade : fades) {
        FrameAt(fade.t);
        EXPECT_EQ(FloatSet("fA"), fade.fA) << fade.t;
    }
    FrameAt(std::nextafter(39.0f, 0.0f));
    EXPECT_NEAR(FloatSet("fA"), 0.84f, 0.01f);
}

TEST_F(ModelRowsTest, ModelQLeavesWorldITAsModelWLeftIt) {
    const float t = 150.0f;
    FrameAt(t);
    EXPECT_EQ(EffectWords(), kSettings +
                                 "SetMatrix:WVP GetTechniqueByName:TechniqueParallaxMapping "
                                 "SetTechnique:TechniqueParallaxMapping Begin BeginPass EndPass "
                                 "End");
    EXPECT_EQ(DrawsOf("Q0").size(), 1u);
    EXPECT_EQ(FloatSet("fA"), 1.0f - std::sin(0.2f * 2.0f));
    EXPECT_EQ(FloatSet("fPitchValue"), 30.0f * kP);
    ExpectVector(VectorSet("mLightPos"), 0.0f, 0.0f, -1000.0f, 1.0f);
    const Matrix4 world = ModelWorld(0.081f * t, 0.75f, 1.2f, 1.2f, -20.0f * kU, -5.0f, -900.0f);
    EXPECT_TRUE(SameBits(MatrixSet("World"), world));
    EXPECT_TRUE(SameBits(MatrixSet("WVP"), Product(Product(world, LookAt(-0.6f, -4.0f, 10.0f)),
                                                   Projection(0.7853982f))));
}

TEST_F(ModelRowsTest, ModelQFadesInAfter97AndOutFrom148) {
    struct Fade {
        float t;
        float fA;
    };
    const Fade fades[] = {
        {97.0f, 1.0f},  {100.0f, std::sin(0.125f * 3.0f)},      {107.0f, 1.0f},
        {148.0f, 1.0f}, {155.0f, 1.0f - std::sin(0.2f * 7.0f)},
    };
    for (const Fade& fade : fades) {
        FrameAt(fade.t);
        EXPECT_EQ(FloatSet("fA"), fade.fA) << fade.t;
    }
}

TEST_F(ModelRowsTest, AModelWithoutMaterialsStillRunsItsPasses) {
    g_modelW.Unload();
    FrameAt(50.0f);
    EXPECT_EQ(effect_.CallsNamed("BeginPass").size(), 1u);
    EXPECT_EQ(effect_.CallsNamed("End").size(), 1u);
    for (const DrawSeen& draw : frameDraws_) {
        EXPECT_NE(draw.what[0], 'W');
    }
}

TEST_F(ModelRowsTest, WithoutTheOffsetMappingEffectTheModelRowsAreSkipped) {
    g_offsetMappingEffect = nullptr;
    FrameAt(50.0f);
    std::vector<std::string> drawn;
    for (const DrawSeen& draw : frameDraws_) {
        drawn.push_back(draw.what);
    }
    EXPECT_EQ(drawn, (std::vector<std::string>{"waiting", "mask"}));
    FrameAt(100.0f);
    EXPECT_TRUE(DrawsOf("Q0").empty());
    EXPECT_TRUE(effect_.Calls().empty());
}

}  // namespace
}  // namespace showtest
