// libFuzzer target: a 3DO model text through the reader, then the bounds and drawing walks over
// whatever hierarchy it gave.

#include "engine/3doModel.h"
#include "engine/FileBuffer.h"
#include "engine/RenderDevice.h"
#include "framework/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

// Draws nothing; counts the vertices it is given.
class CNullRenderDevice final : public RenderDevice {
public:
    TextureId CreateTexture(int, int, TextureFormat) override { return kNoTexture; }
    bool UploadTexture(TextureId, std::span<const std::byte>) override { return false; }
    void ReleaseTexture(TextureId) override {}
    void SetWorldTransform(const D3DMATRIX&) override {}
    void DrawPrimitive(PrimitiveType, std::span<const D3DLVERTEX> vertices, TextureId) override
    {
        m_vertices += vertices.size();
    }

    std::size_t m_vertices = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    C3doModel model("fuzz.3do", "");
    CFileBuffer buffer(std::span<const std::uint8_t>(data, size), "fuzz.3do");
    try {
        model.Read3do({}, buffer);
    } catch (const CArchiveException&) {
        return 0;
    }
    CBoundingBox box{{1e11f, 1e11f, 1e11f}, {-1e11f, -1e11f, -1e11f}};
    model.NodeBounds(0, box, MatrixIdentity());
    CNullRenderDevice device;
    model.DrawNode(device, 0.0f, 0.0f, 0.0f, 0, MatrixIdentity());
    return 0;
}
