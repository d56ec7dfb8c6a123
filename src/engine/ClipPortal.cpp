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
CPoint NewellSum(const CPoint* poly, std::size_t count)
{
    CPoint n;
    for (std::size_t i = 0; i < count; ++i) {
        const CPoint& a = poly[i];
        const CPoint& b = poly[i + 1 == count ? 0 : i + 1];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

// Keeps the part of poly where normal . (p - eye) >= -tolerance; the cut points lie on the plane.
// Each corner's distance is computed once, by the same expression, so the cut is the same as
// asking each edge for both its ends. result has room for twice the corners of poly (each edge
// keeps at most its start and one cut point) and distance for its corners. Returns the corners
// of the part, or kWhollyInside when poly lies wholly inside (result is then not written and
// poly is the part).
constexpr std::size_t kWhollyInside = static_cast<std::size_t>(-1);

std::size_t ClipByPlane(const CPoint* poly, std::size_t count, const CPoint& normal,
                        const CPoint& eye, CPoint* result, double* distance)
{
    std::size_t inside = 0;
    for (std::size_t i = 0; i < count; ++i) {
        distance[i] = Dot(normal, Minus(poly[i], eye));
        inside += distance[i] >= -kClipTolerance ? 1 : 0;
    }
    if (inside == count)
        return kWhollyInside;
    // Wholly outside: no corner is kept and no edge crosses the plane.
    if (inside == 0)
        return 0;
    std::size_t made = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t j = i + 1 == count ? 0 : i + 1;
        const CPoint& p = poly[i];
        const CPoint& q = poly[j];
        const double dp = distance[i];
        const double dq = distance[j];
        const bool pIn = dp >= -kClipTolerance;
        const bool qIn = dq >= -kClipTolerance;
        if (pIn)
            result[made++] = p;
        if (pIn != qIn) {
            const double t = std::clamp(dp / (dp - dq), 0.0, 1.0);
            result[made++] = {p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t, p.z + (q.z - p.z) * t};
        }
    }
    // Cuts through a corner repeat it; the repeats add nothing.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < made; ++i) {
        const CPoint d = Minus(result[i], kept > 0 ? result[kept - 1] : result[made - 1]);
        if (kept == 0 || Dot(d, d) > 1e-18)
            result[kept++] = result[i];
    }
    if (kept > 1) {
        const CPoint d = Minus(result[kept - 1], result[0]);
        if (Dot(d, d) <= 1e-18)
            --kept;
    }
    return kept;
}

// True when the polygon is wider than the tolerance: its area over its longest edge. newell is
// the polygon's Newell sum, set when the polygon has an edge.
bool HasWidth(const CPoint* poly, std::size_t count, CPoint& newell)
{
    if (count < 3)
        return false;
    double longest = 0.0;  // squared
    for (std::size_t i = 0; i < count; ++i) {
        const CPoint d = Minus(poly[i + 1 == count ? 0 : i + 1], poly[i]);
        longest = std::max(longest, Dot(d, d));
    }
    if (!(longest > 0.0))
        return false;
    newell = NewellSum(poly, count);
    // (area / longest edge)^2 > tolerance^2, with area = |newell| / 2.
    return Dot(newell, newell) * 0.25 > kClipTolerance * kClipTolerance * longest;
}

// The walk calls the clip very often; the scratch of each thread keeps its storage between calls.
struct CClipScratch {
    std::vector<CPoint> poly;
    std::vector<CPoint> next;
    std::vector<double> distance;

    // Room for a polygon of count corners and the part of it one plane leaves.
    void Fit(std::size_t count)
    {
        if (next.size() < 2 * count) {
            poly.resize(2 * count);
            next.resize(2 * count);
            distance.resize(2 * count);
        }
    }
};

}  // namespace

void MakeClipView(std::span<const CVector3> clip, const CVector3& eye, CClipView& view)
{
    view.m_eye = eye;
    view.m_normals.clear();
    view.m_normals.reserve(clip.size());
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
        const CPoint b = Minus(ToPoint(clip[i + 1 == clip.size() ? 0 : i + 1]), e);
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

    thread_local CClipScratch scratch;
    CClipScratch& s = scratch;
    std::size_t count = portal.size();
    s.Fit(count);
    CPoint* poly = s.poly.data();
    for (std::size_t i = 0; i < count; ++i)
        poly[i] = ToPoint(portal[i]);
    const CPoint e = ToPoint(view.m_eye);
    for (const CPoint& normal : view.m_normals) {
        CPoint* next = poly == s.poly.data() ? s.next.data() : s.poly.data();
        const std::size_t kept = ClipByPlane(poly, count, normal, e, next, s.distance.data());
        if (kept == kWhollyInside)
            continue;
        if (kept < 3)
            return false;
        poly = next;
        count = kept;
        if (2 * count > s.next.size()) {
            // A polygon that is not convex may grow past the room made for it.
            const bool inPoly = poly == s.poly.data();
            std::vector<CPoint> keep(poly, poly + count);
            s.Fit(count);
            poly = inPoly ? s.poly.data() : s.next.data();
            std::copy(keep.begin(), keep.end(), poly);
        }
    }

    CPoint newell;
    if (!HasWidth(poly, count, newell))
        return false;
    // A part seen edge-on (the eye in its plane) shows nothing. Before any clipping the portal
    // counts whole, as it stands.
    if (view.m_clipped) {
        const CPoint& normal = newell;
        const double side = Dot(normal, Minus(poly[0], e));
        if (side * side <= kClipTolerance * kClipTolerance * Dot(normal, normal))
            return false;
    }
    out.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = {static_cast<float>(poly[i].x), static_cast<float>(poly[i].y),
                  static_cast<float>(poly[i].z)};
    return true;
}

bool ClipPortal(std::span<const CVector3> clip, std::span<const CVector3> portal,
                const CVector3& eye, std::vector<CVector3>& out)
{
    CClipView view;
    MakeClipView(clip, eye, view);
    return ClipPortal(view, portal, out);
}
