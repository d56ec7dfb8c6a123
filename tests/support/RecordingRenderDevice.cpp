#include "support/RecordingRenderDevice.h"

#include <cstring>

TextureId CRecordingRenderDevice::CreateTexture(int width, int height, TextureFormat format)
{
    m_calls.emplace_back("CreateTexture");
    if (width < 1 || height < 1) {
        ++m_misuseCount;
        return kNoTexture;
    }
    if (m_failCreateTexture)
        return kNoTexture;
    CTextureRecord record;
    record.m_id = static_cast<TextureId>(m_textures.size() + 1);
    record.m_width = width;
    record.m_height = height;
    record.m_format = format;
    m_textures.push_back(std::move(record));
    return m_textures.back().m_id;
}

bool CRecordingRenderDevice::UploadTexture(TextureId texture, std::span<const std::byte> texels)
{
    m_calls.emplace_back("UploadTexture");
    CTextureRecord* record = Find(texture);
    if (record == nullptr || record->m_released) {
        ++m_misuseCount;
        return false;
    }
    const std::size_t expected = static_cast<std::size_t>(record->m_width) *
                                 static_cast<std::size_t>(record->m_height) *
                                 TexelBytes(record->m_format);
    if (texels.size() != expected) {
        ++m_misuseCount;
        return false;
    }
    if (m_failUploadTexture)
        return false;
    record->m_texels.assign(texels.begin(), texels.end());
    ++record->m_uploadCount;
    return true;
}

void CRecordingRenderDevice::ReleaseTexture(TextureId texture)
{
    m_calls.emplace_back("ReleaseTexture");
    if (texture == kNoTexture)
        return;
    CTextureRecord* record = Find(texture);
    if (record == nullptr || record->m_released) {
        ++m_misuseCount;
        return;
    }
    record->m_released = true;
    record->m_texels.clear();
}

const CRecordingRenderDevice::CTextureRecord*
CRecordingRenderDevice::FindTexture(TextureId texture) const
{
    if (texture == kNoTexture || texture > m_textures.size())
        return nullptr;
    return &m_textures[texture - 1];
}

CRecordingRenderDevice::CTextureRecord* CRecordingRenderDevice::Find(TextureId texture)
{
    if (texture == kNoTexture || texture > m_textures.size())
        return nullptr;
    return &m_textures[texture - 1];
}

int CRecordingRenderDevice::LiveTextureCount() const
{
    int count = 0;
    for (const CTextureRecord& record : m_textures)
        if (!record.m_released)
            ++count;
    return count;
}

std::uint16_t CRecordingRenderDevice::Texel565(TextureId texture, int x, int y) const
{
    const CTextureRecord* record = FindTexture(texture);
    if (record == nullptr || record->m_format != TextureFormat::Rgb565 || x < 0 || y < 0 ||
        x >= record->m_width || y >= record->m_height || record->m_texels.empty())
        return 0;
    const std::size_t at =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(record->m_width) +
         static_cast<std::size_t>(x)) *
        2;
    std::uint16_t texel = 0;
    std::memcpy(&texel, record->m_texels.data() + at, sizeof texel);
    return texel;
}

void CRecordingRenderDevice::SetWorldTransform(const D3DMATRIX& world)
{
    m_calls.emplace_back("SetWorldTransform");
    m_world = world;
}

void CRecordingRenderDevice::DrawPrimitive(PrimitiveType type, std::span<const D3DLVERTEX> vertices,
                                           TextureId texture)
{
    m_calls.emplace_back("DrawPrimitive");
    m_draws.push_back({type, {vertices.begin(), vertices.end()}, texture, m_world, kNoBuffer});
}

BufferId CRecordingRenderDevice::CreateVertexBuffer()
{
    m_calls.emplace_back("CreateVertexBuffer");
    if (m_failCreateBuffer)
        return kNoBuffer;
    CBufferRecord record;
    record.m_id = static_cast<BufferId>(m_buffers.size() + 1);
    m_buffers.push_back(std::move(record));
    return m_buffers.back().m_id;
}

CRecordingRenderDevice::CBufferRecord* CRecordingRenderDevice::FindLiveBuffer(BufferId buffer)
{
    if (buffer == kNoBuffer || buffer > m_buffers.size() || m_buffers[buffer - 1].m_released)
        return nullptr;
    return &m_buffers[buffer - 1];
}

bool CRecordingRenderDevice::UploadVertexBuffer(BufferId buffer,
                                                std::span<const D3DLVERTEX> vertices)
{
    m_calls.emplace_back("UploadVertexBuffer");
    CBufferRecord* record = FindLiveBuffer(buffer);
    if (record == nullptr) {
        ++m_misuseCount;
        return false;
    }
    if (m_failUploadBuffer) {
        record->m_vertices.clear();
        return false;
    }
    record->m_vertices.assign(vertices.begin(), vertices.end());
    ++record->m_uploadCount;
    return true;
}

void CRecordingRenderDevice::DrawVertexBuffer(BufferId buffer, PrimitiveType type,
                                              std::size_t first, std::size_t count,
                                              TextureId texture)
{
    m_calls.emplace_back("DrawVertexBuffer");
    const CBufferRecord* record = FindLiveBuffer(buffer);
    if (record == nullptr || first > record->m_vertices.size() ||
        count > record->m_vertices.size() - first) {
        ++m_misuseCount;
        return;
    }
    const auto begin = record->m_vertices.begin() + static_cast<std::ptrdiff_t>(first);
    m_draws.push_back(
        {type, {begin, begin + static_cast<std::ptrdiff_t>(count)}, texture, m_world, buffer});
}

void CRecordingRenderDevice::ReleaseVertexBuffer(BufferId buffer)
{
    m_calls.emplace_back("ReleaseVertexBuffer");
    if (buffer == kNoBuffer)
        return;
    CBufferRecord* record = FindLiveBuffer(buffer);
    if (record == nullptr) {
        ++m_misuseCount;
        return;
    }
    record->m_released = true;
    record->m_vertices.clear();
}

const CRecordingRenderDevice::CBufferRecord*
CRecordingRenderDevice::FindBuffer(BufferId buffer) const
{
    if (buffer == kNoBuffer || buffer > m_buffers.size())
        return nullptr;
    return &m_buffers[buffer - 1];
}

int CRecordingRenderDevice::LiveBufferCount() const
{
    int count = 0;
    for (const CBufferRecord& record : m_buffers)
        if (!record.m_released)
            ++count;
    return count;
}

int CRecordingRenderDevice::BufferUploadCount() const
{
    int count = 0;
    for (const CBufferRecord& record : m_buffers)
        count += record.m_uploadCount;
    return count;
}

bool CRecordingRenderDevice::SetRenderSize(int width, int height)
{
    m_calls.emplace_back("SetRenderSize");
    if (width < 1 || height < 1)
        return false;
    m_renderWidth = width;
    m_renderHeight = height;
    return true;
}

void CRecordingRenderDevice::BeginFrame()
{
    m_calls.emplace_back("BeginFrame");
    if (m_framesBegun != m_framesEnded)
        ++m_misuseCount;
    ++m_framesBegun;
}

void CRecordingRenderDevice::EndFrame()
{
    m_calls.emplace_back("EndFrame");
    if (m_framesBegun != m_framesEnded + 1) {
        ++m_misuseCount;
        return;
    }
    ++m_framesEnded;
}

void CRecordingRenderDevice::Clear(std::uint32_t argb)
{
    m_calls.emplace_back("Clear");
    m_clears.push_back(argb);
}

void CRecordingRenderDevice::SetViewTransform(const D3DMATRIX& view)
{
    m_calls.emplace_back("SetViewTransform");
    m_view = view;
}

void CRecordingRenderDevice::SetProjectionTransform(const D3DMATRIX& projection)
{
    m_calls.emplace_back("SetProjectionTransform");
    m_projection = projection;
}

void CRecordingRenderDevice::SetRenderState(RenderState state, std::uint32_t value)
{
    m_calls.emplace_back("SetRenderState");
    m_renderStates[state] = value;
}

bool CRecordingRenderDevice::ReadPixels(std::vector<std::uint32_t>& argb, int& width, int& height)
{
    m_calls.emplace_back("ReadPixels");
    argb.clear();
    width = m_renderWidth;
    height = m_renderHeight;
    if (width < 1 || height < 1) {
        width = height = 0;
        return false;
    }
    argb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                m_clears.empty() ? 0u : m_clears.back());
    return true;
}
