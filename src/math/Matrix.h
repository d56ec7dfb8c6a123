#pragma once
// The 4x4 matrix of Direct3D 7 and its operations. Row vectors: a point is the row
// [x y z 1] times the matrix, the translation lives in m[3][0..2]; m[row][column]. Angles are in
// radians. All arithmetic is in float.

#include <array>

#include "math/Vector3.h"

struct D3DMATRIX {
    float m[4][4]{};  // 16 floats, row by row, m[0][0] first; a default matrix is all zero

    friend constexpr bool operator==(const D3DMATRIX&, const D3DMATRIX&) = default;
};
static_assert(sizeof(D3DMATRIX) == 64);

// 1 on the diagonal, 0 elsewhere.
[[nodiscard]] D3DMATRIX MatrixIdentity();
// All 16 entries 0.
[[nodiscard]] D3DMATRIX MatrixZero();
// Identity with m[3][0..2] = t.x, t.y, t.z.
[[nodiscard]] D3DMATRIX MatrixTranslation(const CVector3& t);
// Identity with m[0][0] = sx, m[1][1] = sy, m[2][2] = sz.
[[nodiscard]] D3DMATRIX MatrixScale(float sx, float sy, float sz);
// Identity with m[1][1] = cos a, m[1][2] = -sin a, m[2][1] = sin a, m[2][2] = cos a;
// maps (0, 1, 0) to (0, cos a, -sin a).
[[nodiscard]] D3DMATRIX MatrixRotateX(float a);
// Identity with m[0][0] = cos a, m[0][2] = sin a, m[2][0] = -sin a, m[2][2] = cos a.
[[nodiscard]] D3DMATRIX MatrixRotateY(float a);
// Identity with m[0][0] = cos a, m[0][1] = -sin a, m[1][0] = sin a, m[1][1] = cos a.
[[nodiscard]] D3DMATRIX MatrixRotateZ(float a);
// RotateZ(a) * RotateY(b) * RotateX(c), written out.
[[nodiscard]] D3DMATRIX MatrixRotateXYZ(float a, float b, float c);
// a about X, b about Y, c about Z: RotateZ(c) * RotateX(a) * RotateY(b), written out.
[[nodiscard]] D3DMATRIX RotationMatrix(float a, float b, float c);
// Perspective projection: field of view f, aspect, near n, far r. m[0][0] = aspect*cot(f/2),
// m[1][1] = cot(f/2), m[2][2] = Q = r/(r-n), m[2][3] = 1, m[3][2] = -Q*n, everything else 0.
[[nodiscard]] D3DMATRIX MatrixProjection(float f, float aspect, float n, float r);
// C[i][j] = sum over k of A[i][k]*B[k][j]: apply A, then B, to a row vector.
[[nodiscard]] D3DMATRIX MatrixMultiply(const D3DMATRIX& a, const D3DMATRIX& b);
// [p 1] * M, divided by its w. w = 0 is the caller's to avoid.
[[nodiscard]] CVector3 TransformPoint(const CVector3& p, const D3DMATRIX& m);
// The inverse by LuDecompose and LuBackSubstitute. A matrix with an all-zero row (no row scale,
// including a row of NaNs) has no LU decomposition here: the result is then the identity.
[[nodiscard]] D3DMATRIX MatrixInvert(const D3DMATRIX& m);

// Crout's LU decomposition with implicit partial pivoting, in place on a, float precision:
// fills the row order indx and the sign d (+1 or -1, the parity of the row swaps). An exactly
// zero pivot becomes 1e-20. Returns false, with a, indx and d unspecified, when a row of a is
// all zero (its row scale would be 1/0); true otherwise.
bool LuDecompose(D3DMATRIX& a, std::array<int, 4>& indx, float& d);
// Solves a x = b in place on b, with a and indx from LuDecompose.
void LuBackSubstitute(const D3DMATRIX& a, const std::array<int, 4>& indx, std::array<float, 4>& b);
