#pragma once
// A RenderDevice for tests: it draws nothing and notes every call, in order, with its data.
// Calls a real device would refuse (an unknown or released texture or vertex buffer, a wrong byte
// count, a range outside a buffer, a second release) are answered as a device would and counted in
// m_misuseCount, so a test can demand 0.

#include "engine/RenderDevice.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CRecordingRenderDevice : public RenderDevice {
public:
    struct CTextureRecord {
        TextureId m_id = kNoTexture;
        int m_width = 0;
        int m_height = 0;
        TextureFormat m_format = TextureFormat::Rgb565;
        std::vector<std::byte> m_texels;  // the texels of the last accepted upload
        int m_uploadCount = 0;
        bool m_released = false;
    };

    struct CBufferRecord {
        BufferId m_id = kNoBuffer;
        std::vector<D3DLVERTEX> m_vertices;  // the vertices of the last accepted upload
        int m_uploadCount = 0;
        bool m_released = false;
    };

    // One DrawPrimitive or DrawVertexBuffer call with the world transform in force when it was
    // made: a buffer's draw holds the vertices of its range, and the buffer (kNoBuffer for
    // DrawPrimitive).
    struct CDrawRecord {
        PrimitiveType m_type = PrimitiveType::TriangleList;
        std::vector<D3DLVERTEX> m_vertices;
        TextureId m_texture = kNoTexture;
        D3DMATRIX m_world = MatrixIdentity();
        BufferId m_buffer = kNoBuffer;
    };

    TextureId CreateTexture(int width, int height, TextureFormat format) override;
    bool UploadTexture(TextureId texture, std::span<const std::byte> texels) override;
    void ReleaseTexture(TextureId texture) override;
    void SetWorldTransform(const D3DMATRIX& world) override;
    void DrawPrimitive(PrimitiveType type, std::span<const D3DLVERTEX> vertices,
                       TextureId texture) override;
    BufferId CreateVertexBuffer() override;
    bool UploadVertexBuffer(BufferId buffer, std::span<const D3DLVERTEX> vertices) override;
    void DrawVertexBuffer(BufferId buffer, PrimitiveType type, std::size_t first, std::size_t count,
                          TextureId texture) override;
    void ReleaseVertexBuffer(BufferId buffer) override;
    bool SetRenderSize(int width, int height) override;
    void BeginFrame() override;
    void EndFrame() override;
    void Clear(std::uint32_t argb) override;
    void SetViewTransform(const D3DMATRIX& view) override;
    void SetProjectionTransform(const D3DMATRIX& projection) override;
    void SetRenderState(RenderState state, std::uint32_t value) override;
    // The render size filled with the colour of the last Clear (0 before any).
    bool ReadPixels(std::vector<std::uint32_t>& argb, int& width, int& height) override;

    // The record of texture; nullptr when the device never made it.
    const CTextureRecord* FindTexture(TextureId texture) const;
    // Textures made and not released.
    int LiveTextureCount() const;
    // Texel (x, y) of the last upload of a Rgb565 texture.
    std::uint16_t Texel565(TextureId texture, int x, int y) const;
    // The record of buffer; nullptr when the device never made it.
    const CBufferRecord* FindBuffer(BufferId buffer) const;
    // Vertex buffers made and not released, and the uploads of all buffers together.
    int LiveBufferCount() const;
    int BufferUploadCount() const;

    // The name of every call in order ("CreateTexture", "UploadTexture", "ReleaseTexture",
    // "SetWorldTransform", "DrawPrimitive", "CreateVertexBuffer", "UploadVertexBuffer",
    // "DrawVertexBuffer", "ReleaseVertexBuffer", "SetRenderSize", "BeginFrame", "EndFrame",
    // "Clear", "SetViewTransform", "SetProjectionTransform", "SetRenderState", "ReadPixels").
    std::vector<std::string> m_calls;
    // Every texture made, in order; the id of m_textures[i] is i + 1.
    std::vector<CTextureRecord> m_textures;
    // Every vertex buffer made, in order; the id of m_buffers[i] is i + 1.
    std::vector<CBufferRecord> m_buffers;
    int m_misuseCount = 0;
    // The world transform now in force, and every draw call in order.
    D3DMATRIX m_world = MatrixIdentity();
    std::vector<CDrawRecord> m_draws;
    // The transforms now in force.
    D3DMATRIX m_view = MatrixIdentity();
    D3DMATRIX m_projection = MatrixIdentity();
    // The render states now in force, starting with those of device set-up.
    std::map<RenderState, std::uint32_t> m_renderStates = {
        {RenderState::DepthTest, 1},
        {RenderState::AlphaBlend, 0},
        {RenderState::SrcBlend, static_cast<std::uint32_t>(BlendFactor::One)},
        {RenderState::DestBlend, static_cast<std::uint32_t>(BlendFactor::One)},
        {RenderState::Cull, static_cast<std::uint32_t>(CullMode::CounterClockwise)},
        {RenderState::Fill, static_cast<std::uint32_t>(FillMode::Solid)},
        {RenderState::Filter, static_cast<std::uint32_t>(TextureFilter::Point)}};
    // The render size (0 x 0 until SetRenderSize), every Clear colour in order, and the frames
    // begun and ended (a BeginFrame inside a frame or an EndFrame outside one is misuse).
    int m_renderWidth = 0;
    int m_renderHeight = 0;
    std::vector<std::uint32_t> m_clears;
    int m_framesBegun = 0;
    int m_framesEnded = 0;

    // Scripted failures: CreateTexture answers kNoTexture, UploadTexture false; CreateVertexBuffer
    // answers kNoBuffer (a device that keeps no buffers), UploadVertexBuffer false.
    bool m_failCreateTexture = false;
    bool m_failUploadTexture = false;
    bool m_failCreateBuffer = false;
    bool m_failUploadBuffer = false;

private:
    CTextureRecord* Find(TextureId texture);
    CBufferRecord* FindLiveBuffer(BufferId buffer);
};
