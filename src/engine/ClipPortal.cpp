#include "engine/ClipPortal.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

constexpr double kClipTolerance = 1e-5;

// The clipping runs in double so that long chains of clipped portals keep their shape.
using CPoint = CDVector3;

CPoint ToPoint(const CVector3& v)
{
    return {static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z)};
}

CPoint Minus(const CPoint& a, const CPoint& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

double Dot(const CPoint& a, const CPoint& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

CPoint Cross(const CPoint& a, const CPoint& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Newell's sum of a polygon: its length is twice the polygon's area.
CPoint NewellSum(const std::vector<CPoint>& poly)
{
    CPoint n;
    const std::size_t count = poly.size();
    for (std::size_t i = 0; i < count; ++i) {
        const CPoint& a = poly[i];
        const CPoint& b = poly[(i + 1) % count];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

// Keeps the part of poly where normal . (p - eye) >= -tolerance; the cut points lie on the plane.
// Each corner's distance is computed once, by the same expression, so the cut is the same as
// asking each edge for both its ends. False when poly lies wholly inside: result is then left
// empty and poly is the part.
bool ClipByPlane(const std::vector<CPoint>& poly, const CPoint& normal, const CPoint& eye,
                 std::vector<CPoint>& result)
{
    result.clear();
    const std::size_t count = poly.size();
    thread_local std::vector<double> distance;
    distance.resize(count);
    std::size_t inside = 0;
    for (std::size_t i = 0; i < count; ++i) {
        distance[i] = Dot(normal, Minus(poly[i], eye));
        inside += distance[i] >= -kClipTolerance ? 1 : 0;
    }
    if (inside == count)
        return false;
    // Wholly outside: no corner is kept and no edge crosses the plane.
    if (inside == 0)
        return true;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t j = i + 1 == count ? 0 : i + 1;
        const CPoint& p = poly[i];
        const CPoint& q = poly[j];
        const double dp = distance[i];
        const double dq = distance[j];
        const bool pIn = dp >= -kClipTolerance;
        const bool qIn = dq >= -kClipTolerance;
        if (pIn)
            result.push_back(p);
        if (pIn != qIn) {
            const double t = std::clamp(dp / (dp - dq), 0.0, 1.0);
            result.push_back({p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t, p.z + (q.z - p.z) * t});
        }
    }
    // Cuts through a corner repeat it; the repeats add nothing.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const CPoint d = Minus(result[i], kept > 0 ? result[kept - 1] : result.back());
        if (kept == 0 || Dot(d, d) > 1e-18)
            result[kept++] = result[i];
    }
    if (kept > 1) {
        const CPoint d = Minus(result[kept - 1], result[0]);
        if (Dot(d, d) <= 1e-18)
            --kept;
    }
    result.resize(kept);
    return true;
}

// True when the polygon is wider than the tolerance: its area over its longest edge. newell is
// the polygon's Newell sum, set when the polygon has an edge.
bool HasWidth(const std::vector<CPoint>& poly, CPoint& newell)
{
    if (poly.size() < 3)
        return false;
    double longest = 0.0;  // squared
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const CPoint d = Minus(poly[(i + 1) % poly.size()], poly[i]);
        longest = std::max(longest, Dot(d, d));
    }
    if (!(longest > 0.0))
        return false;
    newell = NewellSum(poly);
    // (area / longest edge)^2 > tolerance^2, with area = |newell| / 2.
    return Dot(newell, newell) * 0.25 > kClipTolerance * kClipTolerance * longest;
}

}  // namespace

void MakeClipView(std::span<const CVector3> clip, const CVector3& eye, CClipView& view)
{
    view.m_eye = eye;
    view.m_normals.clear();
    view.m_clipped = !clip.empty();
    view.m_seesThrough = clip.empty();
    if (clip.empty() || clip.size() < 3)
        return;
    const CPoint e = ToPoint(eye);
    CPoint centre;
    for (const CVector3& v : clip) {
        const CPoint p = ToPoint(v);
        centre.x += p.x;
        centre.y += p.y;
        centre.z += p.z;
    }
    const auto n = static_cast<double>(clip.size());
    centre = {centre.x / n, centre.y / n, centre.z / n};

    for (std::size_t i = 0; i < clip.size(); ++i) {
        const CPoint a = Minus(ToPoint(clip[i]), e);
        const CPoint b = Minus(ToPoint(clip[(i + 1) % clip.size()]), e);
        CPoint normal = Cross(a, b);
        const double length = std::sqrt(Dot(normal, normal));
        // A repeated corner gives no edge and no plane.
        if (!(length > 1e-12))
            continue;
        normal = {normal.x / length, normal.y / length, normal.z / length};
        double side = Dot(normal, Minus(centre, e));
        if (side < 0.0) {
            normal = {-normal.x, -normal.y, -normal.z};
            side = -side;
        }
        // The middle of clip lies on this plane: clip is seen edge-on from the eye (the eye is in
        // its plane), or it is too thin to see through.
        if (!(side > kClipTolerance)) {
            view.m_normals.clear();
            return;
        }
        view.m_normals.push_back(normal);
    }
    // No plane at all: every corner of clip is the same point.
    view.m_seesThrough = !view.m_normals.empty();
}

bool ClipPortal(const CClipView& view, std::span<const CVector3> portal, std::vector<CVector3>& out)
{
    out.clear();
    if (portal.size() < 3 || !view.m_seesThrough)
        return false;

    // The walk calls this very often; the scratch polygons keep their storage between calls.
    thread_local std::vector<CPoint> poly;
    thread_local std::vector<CPoint> next;
    poly.clear();
    for (const CVector3& v : portal)
        poly.push_back(ToPoint(v));
    const CPoint e = ToPoint(view.m_eye);
    for (const CPoint& normal : view.m_normals) {
        if (!ClipByPlane(poly, normal, e, next))
            continue;
        poly.swap(next);
        if (poly.size() < 3)
            return false;
    }

    CPoint newell;
    if (!HasWidth(poly, newell))
        return false;
    // A part seen edge-on (the eye in its plane) shows nothing. Before any clipping the portal
    // counts whole, as it stands.
    if (view.m_clipped) {
        const CPoint& normal = newell;
        const double side = Dot(normal, Minus(poly.front(), e));
        if (side * side <= kClipTolerance * kClipTolerance * Dot(normal, normal))
            return false;
    }
    out.reserve(poly.size());
    for (const CPoint& p : poly)
        out.push_back({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
    return true;
}

bool ClipPortal(std::span<const CVector3> clip, std::span<const CVector3> portal,
                const CVector3& eye, std::vector<CVector3>& out)
{
    CClipView view;
    MakeClipView(clip, eye, view);
    return ClipPortal(view, portal, out);
}
