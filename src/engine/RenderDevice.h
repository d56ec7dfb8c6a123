#pragma once
// The drawing device as the engine's core sees it. The core decodes and builds everything on the
// CPU and hands finished data to a device: the application's OpenGL device draws it, the tests'
// recording device notes every call. A core without a device edits and computes as usual; it just
// draws nothing.

#include "geometry/LitVertex.h"
#include "geometry/Matrix.h"

#include <cstddef>
#include <cstdint>
#include <span>

// A texture made by the device; kNoTexture stands for none.
using TextureId = std::uint32_t;
inline constexpr TextureId kNoTexture = 0;

// Texel layouts the device accepts. Each texel is one native-endian word.
enum class TextureFormat {
    Rgb565,    // 16 bits: red 0xF800, green 0x07E0, blue 0x001F, no alpha
    Argb8888,  // 32 bits: 0xAARRGGBB
};

// How a batch of vertices is drawn: as a list of triangles (three vertices each), as a fan of
// triangles around its first vertex, or as a strip of lines through its vertices.
enum class PrimitiveType {
    TriangleList,
    TriangleFan,
    LineStrip,
};

// Bytes of one texel of format.
constexpr std::size_t TexelBytes(TextureFormat format)
{
    return format == TextureFormat::Rgb565 ? 2 : 4;
}

class RenderDevice {
public:
    virtual ~RenderDevice() = default;

    // ---- Textures ----

    // A texture of width x height texels (both at least 1) of format, its texels undefined until
    // the first upload. kNoTexture when the device cannot make it.
    virtual TextureId CreateTexture(int width, int height, TextureFormat format) = 0;

    // Replaces every texel of texture: width x height texels of its format, the top row first,
    // rows without padding. false, with the texture unchanged, when the device refuses (unknown
    // texture, wrong byte count, device lost).
    virtual bool UploadTexture(TextureId texture, std::span<const std::byte> texels) = 0;

    // Frees texture. kNoTexture is ignored.
    virtual void ReleaseTexture(TextureId texture) = 0;

    // ---- Drawing ----

    // The model-to-world transform of the batches drawn after it (row vectors: a point is
    // [x y z 1] times the matrix).
    virtual void SetWorldTransform(const D3DMATRIX& world) = 0;

    // Draws lit vertices (their own colours, no lighting by the device) as type, textured with
    // texture or, for kNoTexture, with their colours alone.
    virtual void DrawPrimitive(PrimitiveType type, std::span<const D3DLVERTEX> vertices,
                               TextureId texture) = 0;

protected:
    RenderDevice() = default;
    RenderDevice(const RenderDevice&) = default;
    RenderDevice& operator=(const RenderDevice&) = default;
};
