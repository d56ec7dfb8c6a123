#pragma once
// A render device that hands every call to another one: the base of devices that watch or
// reshape the calls on their way (counting draws, say) and let the target do the drawing.

#include "engine/RenderDevice.h"

class CForwardingRenderDevice : public RenderDevice {
public:
    explicit CForwardingRenderDevice(RenderDevice& target) : m_target(target) {}

    TextureId CreateTexture(int width, int height, TextureFormat format) override
    {
        return m_target.CreateTexture(width, height, format);
    }
    bool UploadTexture(TextureId texture, std::span<const std::byte> texels) override
    {
        return m_target.UploadTexture(texture, texels);
    }
    bool UploadTextureLevels(TextureId texture,
                             std::span<const std::span<const std::byte>> levels) override
    {
        return m_target.UploadTextureLevels(texture, levels);
    }
    void ReleaseTexture(TextureId texture) override { m_target.ReleaseTexture(texture); }
    void SetWorldTransform(const D3DMATRIX& world) override { m_target.SetWorldTransform(world); }
    void DrawPrimitive(PrimitiveType type, std::span<const D3DLVERTEX> vertices,
                       TextureId texture) override
    {
        m_target.DrawPrimitive(type, vertices, texture);
    }
    BufferId CreateVertexBuffer() override { return m_target.CreateVertexBuffer(); }
    bool UploadVertexBuffer(BufferId buffer, std::span<const D3DLVERTEX> vertices) override
    {
        return m_target.UploadVertexBuffer(buffer, vertices);
    }
    void DrawVertexBuffer(BufferId buffer, PrimitiveType type, std::size_t first, std::size_t count,
                          TextureId texture) override
    {
        m_target.DrawVertexBuffer(buffer, type, first, count, texture);
    }
    void DrawVertexBufferRanges(PrimitiveType type, std::span<const CBufferRange> ranges,
                                TextureId texture) override
    {
        m_target.DrawVertexBufferRanges(type, ranges, texture);
    }
    void ReleaseVertexBuffer(BufferId buffer) override { m_target.ReleaseVertexBuffer(buffer); }
    bool SetRenderSize(int width, int height) override
    {
        return m_target.SetRenderSize(width, height);
    }
    void BeginFrame() override { m_target.BeginFrame(); }
    void EndFrame() override { m_target.EndFrame(); }
    void Clear(std::uint32_t argb) override { m_target.Clear(argb); }
    void SetViewTransform(const D3DMATRIX& view) override { m_target.SetViewTransform(view); }
    void SetProjectionTransform(const D3DMATRIX& projection) override
    {
        m_target.SetProjectionTransform(projection);
    }
    void SetRenderState(RenderState state, std::uint32_t value) override
    {
        m_target.SetRenderState(state, value);
    }
    bool ReadPixels(std::vector<std::uint32_t>& argb, int& width, int& height) override
    {
        return m_target.ReadPixels(argb, width, height);
    }

protected:
    RenderDevice& m_target;
};
