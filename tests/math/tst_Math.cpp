// Vector and matrix math, boxes, lit vertices and snapping.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "math/BoundingBox.h"
#include "math/LitVertex.h"
#include "math/Matrix.h"
#include "math/Rounding.h"
#include "math/Vector3.h"

namespace {

void ExpectMatrixNear(const D3DMATRIX& a, const D3DMATRIX& b, float tol = 1e-5f)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(a.m[i][j], b.m[i][j], tol) << "at [" << i << "][" << j << "]";
}

void ExpectVectorNear(const CVector3& a, const CVector3& b, float tol = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

}  // namespace

// ---- Vectors ----

TEST(Vector3, Operators)
{
    const CVector3 a(1.0f, 2.0f, 3.0f);
    const CVector3 b(4.0f, -5.0f, 0.5f);
    EXPECT_EQ(a + b, CVector3(5.0f, -3.0f, 3.5f));
    EXPECT_EQ(a - b, CVector3(-3.0f, 7.0f, 2.5f));
    EXPECT_EQ(a * 2.0f, CVector3(2.0f, 4.0f, 6.0f));
    EXPECT_EQ(a / 2.0f, CVector3(0.5f, 1.0f, 1.5f));
    EXPECT_EQ(NegateVector(a), CVector3(-1.0f, -2.0f, -3.0f));
    EXPECT_FLOAT_EQ(LengthSquared(a), 14.0f);
    EXPECT_FLOAT_EQ(VectorLength(CVector3(3.0f, 4.0f, 0.0f)), 5.0f);
    EXPECT_EQ(VectorMin(a, b), CVector3(1.0f, -5.0f, 0.5f));
    EXPECT_EQ(VectorMax(a, b), CVector3(4.0f, 2.0f, 3.0f));
    CVector3 v;
    SetVec3(v, 7.0f, 8.0f, 9.0f);
    EXPECT_EQ(v, CVector3(7.0f, 8.0f, 9.0f));
}

TEST(Vector3, DoubleVector)
{
    const CDVector3 n = NormalizeVector(CVector3(0.0f, 3.0f, 4.0f));
    EXPECT_DOUBLE_EQ(n.x, 0.0);
    EXPECT_DOUBLE_EQ(n.y, 0.6);
    EXPECT_DOUBLE_EQ(n.z, 0.8);
    EXPECT_DOUBLE_EQ(DotProduct(n, n), 1.0);
    EXPECT_DOUBLE_EQ(DotProduct(CDVector3(1.0, 2.0, 3.0), CDVector3(4.0, 5.0, 6.0)), 32.0);
}

// ---- Snapping ----

struct RoundCase {
    const char* what;
    float in;
    float scale;  // 0 = RoundToThousandth, else RoundToStep with this scale
    float out;
};

TEST(Rounding, Table)
{
    const RoundCase cases[] = {
        {"thousandth 0.0004", 0.0004f, 0.0f, 0.0f},
        {"thousandth -0.0004 gives +0", -0.0004f, 0.0f, 0.0f},
        {"thousandth 0.0005", 0.0005f, 0.0f, 0.001f},
        {"thousandth -0.0005", -0.0005f, 0.0f, -0.001f},
        {"thousandth 1.23449", 1.23449f, 0.0f, 1.234f},
        {"thousandth 1.2345", 1.2345f, 0.0f, 1.235f},
        {"thousandth -7.77777", -7.77777f, 0.0f, -7.778f},
        {"thousandth 0", 0.0f, 0.0f, 0.0f},
        {"thousandth -0", -0.0f, 0.0f, 0.0f},
        {"step 2.5 scale 1", 2.5f, 1.0f, 3.0f},
        {"step -2.5 scale 1", -2.5f, 1.0f, -3.0f},
        {"step 2.4999 scale 1", 2.4999f, 1.0f, 2.0f},
        {"step 0.123456 scale 100000", 0.123456f, 100000.0f, 0.12346f},
        {"step -0.123454 scale 100000", -0.123454f, 100000.0f, -0.12345f},
        {"step 1.234567 scale 10000", 1.234567f, 10000.0f, 1.2346f},
        {"step -3.14159 scale 10000", -3.14159f, 10000.0f, -3.1416f},
        {"step 0.456 scale 100", 0.456f, 100.0f, 0.46f},
    };
    for (const RoundCase& c : cases) {
        float got = 0.0f;
        if (c.scale == 0.0f) {
            float u = c.in;
            float v = c.in;
            RoundToThousandth(u, v);
            EXPECT_EQ(u, v) << c.what;
            got = u;
        } else {
            got = RoundToStep(c.in, c.scale);
        }
        EXPECT_EQ(got, c.out) << c.what;
        EXPECT_EQ(std::signbit(got), std::signbit(c.out)) << c.what << ": sign of zero";
    }
}

TEST(Rounding, TwoValuesIndependently)
{
    float u = 0.1234f;
    float v = -0.0004f;
    RoundToThousandth(u, v);
    EXPECT_EQ(u, 0.123f);
    EXPECT_EQ(v, 0.0f);
    EXPECT_FALSE(std::signbit(v));
}

TEST(Rounding, JustBelowHalfDoesNotRoundUp)
{
    // 0.49999997f + 0.5f rounds up to 1.0f in float; the half is added in double.
    EXPECT_EQ(RoundToStep(0.49999997f, 1.0f), 0.0f);
    EXPECT_EQ(RoundToStep(-0.49999997f, 1.0f), 0.0f);
}

TEST(Rounding, WholeSizeShiftBringsTheMinimumWithinOneSize)
{
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kTiny = std::numeric_limits<float>::denorm_min();
    struct Case {
        float minimum, size;
        bool down;
        double shift;
    };
    const Case cases[] = {
        {-300.0f, 64.0f, false, 320.0},
        {-300.0f, 64.0f, true, 320.0},
        {-64.0f, 64.0f, true, 64.0},
        {0.0f, 64.0f, true, 0.0},
        {63.9f, 64.0f, true, 0.0},
        {64.0f, 64.0f, true, -64.0},
        {130.0f, 128.0f, true, -128.0},
        {130.0f, 128.0f, false, 0.0},
        {-1.0e9f, 1.0f, false, 1.0e9},
        // A size far too small to step by: one move all the same.
        {-3.0e38f, kTiny, true, static_cast<double>(3.0e38f)},
        // Nothing to move by: no size, or no number.
        {-5.0f, 0.0f, true, 0.0},
        {5.0f, 0.0f, true, 0.0},
        {-5.0f, kInf, true, 0.0},
        {-kInf, 64.0f, true, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.minimum << " by " << c.size << (c.down ? " down" : ""));
        EXPECT_EQ(WholeSizeShift(c.minimum, c.size, c.down), c.shift);
    }
}

TEST(Rounding, OutOfInt32RangeLeavesValueUnchanged)
{
    // 3e6 * 1000 does not fit int32: the value is left as it is.
    float u = 3.0e6f;
    float v = -1.0e30f;
    RoundToThousandth(u, v);
    EXPECT_EQ(u, 3.0e6f);
    EXPECT_EQ(v, -1.0e30f);

    float inf = std::numeric_limits<float>::infinity();
    float nan = std::numeric_limits<float>::quiet_NaN();
    RoundToThousandth(inf, nan);
    EXPECT_EQ(inf, std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(nan));

    EXPECT_EQ(RoundToStep(1.0e6f, 1.0e5f), 1.0e6f);
    EXPECT_EQ(RoundToStep(-3.0e9f, 1.0f), -3.0e9f);
    EXPECT_TRUE(std::isnan(RoundToStep(std::numeric_limits<float>::quiet_NaN(), 100.0f)));

    // Just inside the range still rounds.
    EXPECT_EQ(RoundToStep(2147483.0f, 1000.0f), 2147483.0f);
    float w = -2147483.0f;
    float z = 2147.4836f;
    RoundToThousandth(w, z);
    EXPECT_EQ(w, -2147483.0f);
    EXPECT_EQ(z, 2147.484f);
}

// ---- Boxes ----

TEST(BoundingBox, PointInBoxSlack)
{
    const CBoundingBox box{CVector3(0.0f, 0.0f, 0.0f), CVector3(1.0f, 2.0f, 3.0f)};
    EXPECT_TRUE(PointInBox(box, CVector3(0.5f, 1.0f, 1.5f)));
    // On a face: inside.
    EXPECT_TRUE(PointInBox(box, CVector3(1.0f, 1.0f, 1.5f)));
    EXPECT_TRUE(PointInBox(box, CVector3(0.5f, 0.0f, 1.5f)));
    EXPECT_TRUE(PointInBox(box, CVector3(0.0f, 2.0f, 3.0f)));
    // 0.000005 outside: accepted.
    EXPECT_TRUE(PointInBox(box, CVector3(1.000005f, 1.0f, 1.5f)));
    EXPECT_TRUE(PointInBox(box, CVector3(0.5f, -0.000005f, 1.5f)));
    EXPECT_TRUE(PointInBox(box, CVector3(0.5f, 1.0f, 3.000005f)));
    // 0.0001 outside: refused.
    EXPECT_FALSE(PointInBox(box, CVector3(1.0001f, 1.0f, 1.5f)));
    EXPECT_FALSE(PointInBox(box, CVector3(0.5f, -0.0001f, 1.5f)));
    EXPECT_FALSE(PointInBox(box, CVector3(0.5f, 1.0f, 3.0001f)));
    EXPECT_FALSE(PointInBox(box, CVector3(-0.0001f, 1.0f, 1.5f)));
}

TEST(BoundingBox, RadiusAndVolume)
{
    const CBoundingBox box{CVector3(-1.0f, 0.0f, 2.0f), CVector3(1.0f, 4.0f, 6.0f)};
    EXPECT_FLOAT_EQ(BoxRadius(box), 3.0f);  // half of sqrt(4 + 16 + 16)
    EXPECT_FLOAT_EQ(BoxVolume(box), 32.0f);

    const CBoundingBox flipped{CVector3(0.0f, 3.0f, 0.0f), CVector3(2.0f, 1.0f, 5.0f)};
    EXPECT_FLOAT_EQ(BoxVolume(flipped), -20.0f);
    EXPECT_FLOAT_EQ(BoxRadius(flipped), std::sqrt(4.0f + 4.0f + 25.0f) / 2.0f);
}

// ---- ParamAlongSegment ----

TEST(ParamAlongSegment, DominantAxis)
{
    // x dominates; the other coordinates of p are not looked at.
    EXPECT_FLOAT_EQ(ParamAlongSegment(CVector3(0, 0, 0), CVector3(4, 2, 0), CVector3(1, 5, 0)),
                    0.25f);
    EXPECT_FLOAT_EQ(ParamAlongSegment(CVector3(0, 1, 0), CVector3(1, -3, 0), CVector3(9, 0, 9)),
                    0.25f);
    EXPECT_FLOAT_EQ(ParamAlongSegment(CVector3(0, 0, 2), CVector3(1, 1, -2), CVector3(9, 9, 1)),
                    0.25f);
}

TEST(ParamAlongSegment, Degenerate)
{
    // Both ends equal: 0.
    EXPECT_EQ(ParamAlongSegment(CVector3(1, 2, 3), CVector3(1, 2, 3), CVector3(5, 5, 5)), 0.0f);
    // |d.x| == |d.y| > |d.z| = 0: falls through to the z rule, which gives 0.
    EXPECT_EQ(ParamAlongSegment(CVector3(0, 0, 0), CVector3(2, 2, 0), CVector3(1, 1, 0)), 0.0f);
    // |d.x| == |d.y| with a smaller but non-zero z: measured on z.
    EXPECT_FLOAT_EQ(ParamAlongSegment(CVector3(0, 0, 0), CVector3(2, -2, 1), CVector3(0, 0, 0.5f)),
                    0.5f);
    // |d.y| == |d.z| > |d.x|: z rule.
    EXPECT_FLOAT_EQ(ParamAlongSegment(CVector3(0, 0, 0), CVector3(1, 4, 4), CVector3(0, 0, 1)),
                    0.25f);
    // All three equal: z rule.
    EXPECT_FLOAT_EQ(ParamAlongSegment(CVector3(0, 0, 0), CVector3(2, 2, 2), CVector3(0, 0, 1)),
                    0.5f);
}

// ---- Matrices ----

TEST(Matrix, IdentityZeroTranslationScale)
{
    const D3DMATRIX id = MatrixIdentity();
    const D3DMATRIX zero = MatrixZero();
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(id.m[i][j], i == j ? 1.0f : 0.0f);
            EXPECT_EQ(zero.m[i][j], 0.0f);
        }
    }
    const D3DMATRIX t = MatrixTranslation(CVector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(t.m[3][0], 1.0f);
    EXPECT_EQ(t.m[3][1], 2.0f);
    EXPECT_EQ(t.m[3][2], 3.0f);
    EXPECT_EQ(t.m[3][3], 1.0f);
    EXPECT_EQ(t.m[0][3], 0.0f);
    const D3DMATRIX s = MatrixScale(2.0f, 3.0f, 4.0f);
    EXPECT_EQ(TransformPoint(CVector3(1.0f, 1.0f, 1.0f), s), CVector3(2.0f, 3.0f, 4.0f));
}

TEST(Matrix, TransformPointOfOriginByTranslation)
{
    const CVector3 t(1.5f, -2.0f, 7.25f);
    EXPECT_EQ(TransformPoint(CVector3(0.0f, 0.0f, 0.0f), MatrixTranslation(t)), t);
}

TEST(Matrix, SingleAxisRotationsSigns)
{
    const float a = 0.7f;
    const float c = std::cos(a);
    const float s = std::sin(a);
    ExpectVectorNear(TransformPoint(CVector3(0, 1, 0), MatrixRotateX(a)), CVector3(0, c, -s));
    const D3DMATRIX rx = MatrixRotateX(a);
    EXPECT_EQ(rx.m[1][1], c);
    EXPECT_EQ(rx.m[1][2], -s);
    EXPECT_EQ(rx.m[2][1], s);
    EXPECT_EQ(rx.m[2][2], c);
    const D3DMATRIX ry = MatrixRotateY(a);
    EXPECT_EQ(ry.m[0][0], c);
    EXPECT_EQ(ry.m[0][2], s);
    EXPECT_EQ(ry.m[2][0], -s);
    EXPECT_EQ(ry.m[2][2], c);
    ExpectVectorNear(TransformPoint(CVector3(0, 0, 1), ry), CVector3(-s, 0, c));
    const D3DMATRIX rz = MatrixRotateZ(a);
    EXPECT_EQ(rz.m[0][0], c);
    EXPECT_EQ(rz.m[0][1], -s);
    EXPECT_EQ(rz.m[1][0], s);
    EXPECT_EQ(rz.m[1][1], c);
    ExpectVectorNear(TransformPoint(CVector3(1, 0, 0), rz), CVector3(c, -s, 0));
}

TEST(Matrix, RotateXYZEqualsProduct)
{
    const float a = 0.3f, b = -1.1f, c = 2.4f;
    const D3DMATRIX product =
        MatrixMultiply(MatrixMultiply(MatrixRotateZ(a), MatrixRotateY(b)), MatrixRotateX(c));
    ExpectMatrixNear(MatrixRotateXYZ(a, b, c), product);
}

TEST(Matrix, RotationMatrixEqualsProduct)
{
    const float a = 0.3f, b = -1.1f, c = 2.4f;
    const D3DMATRIX product =
        MatrixMultiply(MatrixMultiply(MatrixRotateZ(c), MatrixRotateX(a)), MatrixRotateY(b));
    ExpectMatrixNear(RotationMatrix(a, b, c), product);
}

TEST(Matrix, Projection)
{
    const float f = std::numbers::pi_v<float> / 3.0f;
    const float aspect = 4.0f / 3.0f;
    const float n = 0.05f, r = 10.0f;
    const D3DMATRIX p = MatrixProjection(f, aspect, n, r);
    const float h = std::cos(f / 2.0f) / std::sin(f / 2.0f);
    const float q = r / (r - n);
    EXPECT_FLOAT_EQ(p.m[0][0], aspect * h);
    EXPECT_FLOAT_EQ(p.m[1][1], h);
    EXPECT_NEAR(h, std::sqrt(3.0f), 1e-5f);
    EXPECT_FLOAT_EQ(p.m[2][2], q);
    EXPECT_EQ(p.m[2][3], 1.0f);
    EXPECT_FLOAT_EQ(p.m[3][2], -q * n);
    EXPECT_EQ(p.m[3][3], 0.0f);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(i == j && i < 3) && !(i == 2 && j == 3) && !(i == 3 && j == 2)) {
                EXPECT_EQ(p.m[i][j], 0.0f) << i << "," << j;
            }
}

TEST(Matrix, MultiplyOrderAppliesAThenB)
{
    const D3DMATRIX a = MatrixScale(2.0f, 2.0f, 2.0f);
    const D3DMATRIX b = MatrixTranslation(CVector3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(TransformPoint(CVector3(1.0f, 1.0f, 1.0f), MatrixMultiply(a, b)),
              CVector3(3.0f, 2.0f, 2.0f));
    EXPECT_EQ(TransformPoint(CVector3(1.0f, 1.0f, 1.0f), MatrixMultiply(b, a)),
              CVector3(4.0f, 2.0f, 2.0f));
}

TEST(Matrix, InvertTranslation)
{
    const CVector3 t(3.0f, -4.5f, 12.0f);
    ExpectMatrixNear(MatrixInvert(MatrixTranslation(t)), MatrixTranslation(NegateVector(t)));
}

TEST(Matrix, InvertRotation)
{
    for (float a : {0.0f, 0.5f, 1.2f, -2.0f, 3.0f})
        ExpectMatrixNear(MatrixInvert(MatrixRotateZ(a)), MatrixRotateZ(-a));
}

TEST(Matrix, InvertGeneralAffine)
{
    const D3DMATRIX m = MatrixMultiply(
        MatrixMultiply(MatrixScale(2.0f, 0.5f, 3.0f), MatrixRotateXYZ(0.4f, -0.9f, 1.3f)),
        MatrixTranslation(CVector3(5.0f, -2.0f, 7.0f)));
    const D3DMATRIX inv = MatrixInvert(m);
    ExpectMatrixNear(MatrixMultiply(m, inv), MatrixIdentity(), 1e-5f);
    ExpectMatrixNear(MatrixMultiply(inv, m), MatrixIdentity(), 1e-5f);
}

TEST(Matrix, InvertProjectionAndPermutation)
{
    // A projection needs row swaps (zero on the diagonal at m[3][3]).
    const D3DMATRIX p = MatrixProjection(std::numbers::pi_v<float> / 3.0f, 1.5f, 0.05f, 10.0f);
    ExpectMatrixNear(MatrixMultiply(p, MatrixInvert(p)), MatrixIdentity(), 1e-4f);

    D3DMATRIX perm = MatrixZero();
    perm.m[0][2] = 1.0f;
    perm.m[1][0] = 1.0f;
    perm.m[2][3] = 1.0f;
    perm.m[3][1] = 1.0f;
    ExpectMatrixNear(MatrixMultiply(perm, MatrixInvert(perm)), MatrixIdentity());
}

TEST(Matrix, LuDecomposeSignAndSingularFlag)
{
    D3DMATRIX a = MatrixIdentity();
    std::array<int, 4> indx{};
    float d = 0.0f;
    ASSERT_TRUE(LuDecompose(a, indx, d));
    EXPECT_EQ(d, 1.0f);
    EXPECT_EQ(indx, (std::array<int, 4>{0, 1, 2, 3}));

    D3DMATRIX swap = MatrixIdentity();
    swap.m[0][0] = 0.0f;
    swap.m[0][1] = 1.0f;
    swap.m[1][0] = 1.0f;
    swap.m[1][1] = 0.0f;
    ASSERT_TRUE(LuDecompose(swap, indx, d));
    EXPECT_EQ(d, -1.0f);
    EXPECT_EQ(indx[0], 1);

    D3DMATRIX zeroRow = MatrixIdentity();
    zeroRow.m[2][2] = 0.0f;
    EXPECT_FALSE(LuDecompose(zeroRow, indx, d));
}

TEST(Matrix, NearlySingularInvertsToFiniteValues)
{
    // Row 1 is nearly twice row 0.
    D3DMATRIX m = MatrixIdentity();
    m.m[0][0] = 1.0f;
    m.m[0][1] = 2.0f;
    m.m[1][0] = 2.0f;
    m.m[1][1] = 4.001f;
    const D3DMATRIX inv = MatrixInvert(m);
    for (const auto& row : inv.m)
        for (float e : row)
            EXPECT_TRUE(std::isfinite(e)) << e;
    ExpectMatrixNear(MatrixMultiply(m, inv), MatrixIdentity(), 1e-2f);

    // Exactly twice: the zero pivot becomes 1e-20 and the inverse overflows; the caller gets the
    // identity, never infinities or NaN.
    m.m[1][1] = 4.0f;
    const D3DMATRIX singular = MatrixInvert(m);
    for (const auto& row : singular.m)
        for (float e : row)
            EXPECT_TRUE(std::isfinite(e)) << e;
}

TEST(Matrix, ZeroRowInvertGivesIdentity)
{
    D3DMATRIX m = MatrixRotateXYZ(0.1f, 0.2f, 0.3f);
    for (float& e : m.m[1])
        e = 0.0f;
    EXPECT_EQ(MatrixInvert(m), MatrixIdentity());
    EXPECT_EQ(MatrixInvert(MatrixZero()), MatrixIdentity());
}

// ---- Lit vertices ----

TEST(LitVertex, LayoutAndConstructor)
{
    static_assert(sizeof(D3DLVERTEX) == 32);
    EXPECT_EQ(sizeof(D3DLVERTEX), 32u);
    const D3DLVERTEX v =
        MakeLitVertex(CVector3(1.0f, 2.0f, 3.0f), 0xFF112233u, 0x80445566u, 0.25f, 0.75f);
    EXPECT_EQ(v.x, 1.0f);
    EXPECT_EQ(v.y, 2.0f);
    EXPECT_EQ(v.z, 3.0f);
    EXPECT_EQ(v.reserved, 0u);
    EXPECT_EQ(v.color, 0xFF112233u);
    EXPECT_EQ(v.specular, 0x80445566u);
    EXPECT_EQ(v.tu, 0.25f);
    EXPECT_EQ(v.tv, 0.75f);
}

TEST(LitVertex, CubeCornersOrder)
{
    const float expected[8][3] = {{-1, -1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, -1, -1},
                                  {-1, 1, -1},  {-1, 1, 1},  {1, 1, 1},  {1, 1, -1}};
    const auto& corners = CubeCorners();
    ASSERT_EQ(corners.size(), 8u);
    EXPECT_EQ(&corners, &CubeCorners());
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(corners[i].x, expected[i][0]) << i;
        EXPECT_EQ(corners[i].y, expected[i][1]) << i;
        EXPECT_EQ(corners[i].z, expected[i][2]) << i;
        EXPECT_EQ(corners[i].reserved, 0u);
        EXPECT_EQ(corners[i].color, 0u);
        EXPECT_EQ(corners[i].specular, 0u);
        EXPECT_EQ(corners[i].tu, 0.0f);
        EXPECT_EQ(corners[i].tv, 0.0f);
    }
}
