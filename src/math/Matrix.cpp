#include "math/Matrix.h"

#include <cmath>
#include <utility>

D3DMATRIX MatrixIdentity()
{
    D3DMATRIX r = MatrixZero();
    r.m[0][0] = 1.0f;
    r.m[1][1] = 1.0f;
    r.m[2][2] = 1.0f;
    r.m[3][3] = 1.0f;
    return r;
}

D3DMATRIX MatrixZero()
{
    return D3DMATRIX{};  // value-initialised: all 16 entries 0
}

D3DMATRIX MatrixTranslation(const CVector3& t)
{
    D3DMATRIX r = MatrixIdentity();
    r.m[3][0] = t.x;
    r.m[3][1] = t.y;
    r.m[3][2] = t.z;
    return r;
}

D3DMATRIX MatrixScale(float sx, float sy, float sz)
{
    D3DMATRIX r = MatrixIdentity();
    r.m[0][0] = sx;
    r.m[1][1] = sy;
    r.m[2][2] = sz;
    return r;
}

D3DMATRIX MatrixRotateX(float a)
{
    const float c = std::cos(a);
    const float s = std::sin(a);
    D3DMATRIX r = MatrixIdentity();
    r.m[1][1] = c;
    r.m[1][2] = -s;
    r.m[2][1] = s;
    r.m[2][2] = c;
    return r;
}

D3DMATRIX MatrixRotateY(float a)
{
    const float c = std::cos(a);
    const float s = std::sin(a);
    D3DMATRIX r = MatrixIdentity();
    r.m[0][0] = c;
    r.m[0][2] = s;
    r.m[2][0] = -s;
    r.m[2][2] = c;
    return r;
}

D3DMATRIX MatrixRotateZ(float a)
{
    const float c = std::cos(a);
    const float s = std::sin(a);
    D3DMATRIX r = MatrixIdentity();
    r.m[0][0] = c;
    r.m[0][1] = -s;
    r.m[1][0] = s;
    r.m[1][1] = c;
    return r;
}

D3DMATRIX MatrixRotateXYZ(float a, float b, float c)
{
    const float ca = std::cos(a), sa = std::sin(a);
    const float cb = std::cos(b), sb = std::sin(b);
    const float cc = std::cos(c), sc = std::sin(c);
    D3DMATRIX r = MatrixIdentity();
    r.m[0][0] = cb * ca;
    r.m[0][1] = sc * sb * ca - cc * sa;
    r.m[0][2] = cc * sb * ca + sc * sa;
    r.m[1][0] = cb * sa;
    r.m[1][1] = sc * sb * sa + cc * ca;
    r.m[1][2] = cc * sb * sa - sc * ca;
    r.m[2][0] = -sb;
    r.m[2][1] = sc * cb;
    r.m[2][2] = cc * cb;
    return r;
}

D3DMATRIX RotationMatrix(float a, float b, float c)
{
    const float ca = std::cos(a), sa = std::sin(a);
    const float cb = std::cos(b), sb = std::sin(b);
    const float cc = std::cos(c), sc = std::sin(c);
    D3DMATRIX r = MatrixIdentity();
    r.m[0][0] = cb * cc - sb * sa * sc;
    r.m[0][1] = -ca * sc;
    r.m[0][2] = sb * cc + cb * sa * sc;
    r.m[1][0] = cb * sc + sb * sa * cc;
    r.m[1][1] = ca * cc;
    r.m[1][2] = sb * sc - cb * sa * cc;
    r.m[2][0] = -sb * ca;
    r.m[2][1] = sa;
    r.m[2][2] = cb * ca;
    return r;
}

D3DMATRIX MatrixProjection(float f, float aspect, float n, float r)
{
    D3DMATRIX m = MatrixZero();
    const float c = std::cos(f / 2.0f);
    const float s = std::sin(f / 2.0f);
    const float w = aspect * c / s;
    const float h = c / s;
    const float q = r / (r - n);
    m.m[0][0] = w;
    m.m[1][1] = h;
    m.m[2][2] = q;
    m.m[2][3] = 1.0f;
    m.m[3][2] = -q * n;
    return m;
}

D3DMATRIX MatrixMultiply(const D3DMATRIX& a, const D3DMATRIX& b)
{
    D3DMATRIX c;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.m[i][k] * b.m[k][j];
            c.m[i][j] = sum;
        }
    }
    return c;
}

CVector3 TransformPoint(const CVector3& p, const D3DMATRIX& m)
{
    float o[4];
    for (int i = 0; i < 4; ++i)
        o[i] = p.x * m.m[0][i] + p.y * m.m[1][i] + p.z * m.m[2][i] + m.m[3][i];
    return {o[0] / o[3], o[1] / o[3], o[2] / o[3]};
}

bool LuDecompose(D3DMATRIX& a, std::array<int, 4>& indx, float& d)
{
    constexpr float tiny = 1e-20f;
    float vv[4];
    d = 1.0f;
    for (int i = 0; i < 4; ++i) {
        float big = 0.0f;
        for (int j = 0; j < 4; ++j) {
            const float temp = std::fabs(a.m[i][j]);
            if (temp > big)
                big = temp;
        }
        if (big == 0.0f)
            return false;  // an all-zero row: no row scale
        vv[i] = 1.0f / big;
    }
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < j; ++i) {
            float sum = a.m[i][j];
            for (int k = 0; k < i; ++k)
                sum -= a.m[i][k] * a.m[k][j];
            a.m[i][j] = sum;
        }
        float big = 0.0f;
        int imax = j;
        for (int i = j; i < 4; ++i) {
            float sum = a.m[i][j];
            for (int k = 0; k < j; ++k)
                sum -= a.m[i][k] * a.m[k][j];
            a.m[i][j] = sum;
            const float dum = vv[i] * std::fabs(sum);
            if (dum >= big) {  // ties go to the later row
                big = dum;
                imax = i;
            }
        }
        if (imax != j) {
            for (int k = 0; k < 4; ++k)
                std::swap(a.m[imax][k], a.m[j][k]);
            d = -d;
            vv[imax] = vv[j];
        }
        indx[static_cast<std::size_t>(j)] = imax;
        if (a.m[j][j] == 0.0f)
            a.m[j][j] = tiny;
        if (j < 3) {
            const float dum = 1.0f / a.m[j][j];
            for (int i = j + 1; i < 4; ++i)
                a.m[i][j] *= dum;
        }
    }
    return true;
}

void LuBackSubstitute(const D3DMATRIX& a, const std::array<int, 4>& indx, std::array<float, 4>& b)
{
    int ii = -1;
    for (int i = 0; i < 4; ++i) {
        const auto ui = static_cast<std::size_t>(i);
        const auto ip = static_cast<std::size_t>(indx[ui]);
        float sum = b[ip];
        b[ip] = b[ui];
        if (ii >= 0) {
            for (int k = ii; k < i; ++k)
                sum -= a.m[i][k] * b[static_cast<std::size_t>(k)];
        } else if (sum != 0.0f) {
            ii = i;
        }
        b[ui] = sum;
    }
    for (int i = 3; i >= 0; --i) {
        const auto ui = static_cast<std::size_t>(i);
        float sum = b[ui];
        for (int k = i + 1; k < 4; ++k)
            sum -= a.m[i][k] * b[static_cast<std::size_t>(k)];
        b[ui] = sum / a.m[i][i];
    }
}

D3DMATRIX MatrixInvert(const D3DMATRIX& m)
{
    D3DMATRIX a = m;
    std::array<int, 4> indx{};
    float d = 1.0f;
    if (!LuDecompose(a, indx, d))
        return MatrixIdentity();  // a matrix with an all-zero row has no inverse
    D3DMATRIX result;
    for (int j = 0; j < 4; ++j) {
        std::array<float, 4> col{};
        col[static_cast<std::size_t>(j)] = 1.0f;
        LuBackSubstitute(a, indx, col);
        for (int i = 0; i < 4; ++i)
            result.m[i][j] = col[static_cast<std::size_t>(i)];
    }
    // A singular matrix (its zero pivots replaced by 1e-20) can overflow to infinities or NaN;
    // callers get the identity instead, as for a matrix with a zero row.
    for (const auto& row : result.m)
        for (float v : row)
            if (!std::isfinite(v))
                return MatrixIdentity();
    return result;
}
