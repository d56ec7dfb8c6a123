#pragma once
// The drawing device as the engine's core sees it. The core decodes and builds everything on the
// CPU and hands finished data to a device: the application's OpenGL device draws it, the tests'
// recording device notes every call. A core without a device edits and computes as usual; it just
// draws nothing.

#include "math/LitVertex.h"
#include "math/Matrix.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A texture made by the device; kNoTexture stands for none.
using TextureId = std::uint32_t;
inline constexpr TextureId kNoTexture = 0;

// A vertex buffer kept by the device between frames; kNoBuffer stands for none.
using BufferId = std::uint32_t;
inline constexpr BufferId kNoBuffer = 0;

// count vertices of buffer from first on.
struct CBufferRange {
    BufferId m_buffer = kNoBuffer;
    std::size_t m_first = 0;
    std::size_t m_count = 0;
};

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

// Render states a device keeps between draw calls; SetRenderState takes the value kinds below.
// A new device starts with the states of device set-up: depth test on, blending off with source
// and destination factors One (translucent surfaces add their pre-darkened colour), culling of the
// faces that wind counter-clockwise on screen (front faces wind clockwise), solid fill, point
// filtering. Textures always wrap. Point filtering takes the nearest texel of the nearest mip
// level; linear filtering blends texels and levels.
enum class RenderState : std::uint32_t {
    DepthTest,   // 0 off, 1 on: test and write depth
    AlphaBlend,  // 0 off, 1 on
    SrcBlend,    // a BlendFactor
    DestBlend,   // a BlendFactor
    Cull,        // a CullMode
    Fill,        // a FillMode
    Filter,      // a TextureFilter
};

enum class BlendFactor : std::uint32_t {
    Zero,
    One,
    SrcAlpha,
    InvSrcAlpha
};
// The on-screen winding of the faces that are not drawn.
enum class CullMode : std::uint32_t {
    None,
    Clockwise,
    CounterClockwise
};
enum class FillMode : std::uint32_t {
    Solid,
    Wireframe
};
enum class TextureFilter : std::uint32_t {
    Point,
    Linear
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

    // Replaces every texel of texture and its mip levels: levels[0] as UploadTexture takes it, then
    // each further level of the format at max(1, w / 2) x max(1, h / 2) of the one before, at
    // most down to 1 x 1. The texture is sampled from the levels given, per the Filter state.
    // false, with the texture unchanged, when the device refuses (as UploadTexture, or a level of
    // another size). A device without mip levels takes levels[0] alone.
    virtual bool UploadTextureLevels(TextureId texture,
                                     std::span<const std::span<const std::byte>> levels)
    {
        return !levels.empty() && UploadTexture(texture, levels[0]);
    }

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

    // ---- Vertex buffers ----
    // Lit vertices the device keeps from frame to frame: uploaded once, drawn in ranges as often
    // as needed, uploaded again only when they change. A device that keeps none answers
    // kNoBuffer to CreateVertexBuffer; its callers hand their vertices to DrawPrimitive instead.

    // An empty buffer; kNoBuffer when the device cannot make one or keeps none.
    virtual BufferId CreateVertexBuffer() { return kNoBuffer; }

    // Replaces the whole content of buffer with vertices (none is allowed). false when the device
    // refuses (unknown buffer, no memory, device lost); the buffer then draws nothing until the
    // next accepted upload.
    virtual bool UploadVertexBuffer(BufferId /*buffer*/, std::span<const D3DLVERTEX> /*vertices*/)
    {
        return false;
    }

    // Draws count vertices of buffer from first on, exactly as DrawPrimitive draws them. An
    // unknown buffer or a range that is not inside the last accepted upload draws nothing.
    virtual void DrawVertexBuffer(BufferId /*buffer*/, PrimitiveType /*type*/,
                                  std::size_t /*first*/, std::size_t /*count*/,
                                  TextureId /*texture*/)
    {}

    // Draws every range as DrawVertexBuffer draws it, all as type textured with texture, under
    // the states and transforms in force. The ranges may reach the screen in any order among
    // themselves: callers hand over only draws whose order does not change the picture. A device
    // may draw them all with a single call; this one makes a DrawVertexBuffer of each.
    virtual void DrawVertexBufferRanges(PrimitiveType type, std::span<const CBufferRange> ranges,
                                        TextureId texture)
    {
        for (const CBufferRange& range : ranges)
            DrawVertexBuffer(range.m_buffer, type, range.m_first, range.m_count, texture);
    }

    // Frees buffer. kNoBuffer and unknown buffers are ignored.
    virtual void ReleaseVertexBuffer(BufferId /*buffer*/) {}

    // ---- Frames ----

    // Makes the render target (colour and depth) width x height pixels; every frame is drawn into
    // it and read back from it. false, with the old target kept, for a size that is not positive or
    // that the device cannot make.
    virtual bool SetRenderSize(int width, int height) = 0;

    // Brackets the drawing of one frame.
    virtual void BeginFrame() = 0;
    virtual void EndFrame() = 0;

    // Fills the whole render target with argb (0xAARRGGBB) and its depth with 1.0.
    virtual void Clear(std::uint32_t argb) = 0;

    // The world-to-camera and camera-to-clip transforms (row vectors; the projection maps depth to
    // 0..1 and the device maps it to its own range).
    virtual void SetViewTransform(const D3DMATRIX& view) = 0;
    virtual void SetProjectionTransform(const D3DMATRIX& projection) = 0;

    // Sets one render state; value is of the kind the state names (see RenderState). Unknown
    // values are ignored.
    virtual void SetRenderState(RenderState state, std::uint32_t value) = 0;

    // The render target as 0xAARRGGBB pixels, the top row first, with its size. false (argb
    // empty, sizes 0) when there is no target.
    virtual bool ReadPixels(std::vector<std::uint32_t>& argb, int& width, int& height) = 0;

protected:
    RenderDevice() = default;
    RenderDevice(const RenderDevice&) = default;
    RenderDevice& operator=(const RenderDevice&) = default;
};
