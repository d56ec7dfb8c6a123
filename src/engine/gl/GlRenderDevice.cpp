#include "engine/gl/GlRenderDevice.h"

#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace {

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 color;
layout(location = 2) in vec2 texCoord;
uniform mat4 transform;
out vec4 vertexColor;
out vec2 vertexTexCoord;
void main()
{
    gl_Position = transform * vec4(position, 1.0);
    vertexColor = color;
    vertexTexCoord = texCoord;
}
)";

// The texture modulates the vertex colour, alpha included; without a texture the vertex colour
// stands alone.
const char* const kFragmentShader = R"(#version 330 core
in vec4 vertexColor;
in vec2 vertexTexCoord;
uniform sampler2D image;
uniform bool textured;
out vec4 fragmentColor;
void main()
{
    fragmentColor = textured ? vertexColor * texture(image, vertexTexCoord) : vertexColor;
}
)";

constexpr const char* kUnavailable = "OpenGL 3.3 is not available: ";

// Vertices of one shared store of the kept vertex buffers (32 MB); a larger buffer gets a store
// of its own size.
constexpr std::size_t kStoreVertices = std::size_t{1} << 20;

// The fewest vertices that draw something as type.
std::size_t LeastVertices(PrimitiveType type)
{
    return type == PrimitiveType::LineStrip ? 2 : 3;
}

std::size_t StateIndex(RenderState state)
{
    return static_cast<std::size_t>(state);
}

GLenum GlBlendFactor(std::uint32_t value)
{
    switch (static_cast<BlendFactor>(value)) {
    case BlendFactor::Zero:
        return GL_ZERO;
    case BlendFactor::One:
        return GL_ONE;
    case BlendFactor::SrcAlpha:
        return GL_SRC_ALPHA;
    case BlendFactor::InvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

// Depth 0..1 of the engine's projection to OpenGL's -1..1: z' = 2z - w (row vectors).
D3DMATRIX DepthToGl()
{
    D3DMATRIX m = MatrixIdentity();
    m.m[2][2] = 2.0f;
    m.m[3][2] = -1.0f;
    return m;
}

}  // namespace

std::unique_ptr<CGlRenderDevice> CGlRenderDevice::Create(QOpenGLContext& context,
                                                         std::string& error)
{
    error.clear();
    if (!context.isValid()) {
        error = std::string(kUnavailable) + "no OpenGL context could be created.";
        return nullptr;
    }
    if (QOpenGLContext::currentContext() != &context) {
        error = std::string(kUnavailable) + "the OpenGL context is not current.";
        return nullptr;
    }
    const QSurfaceFormat format = context.format();
    if (context.isOpenGLES() || format.version() < qMakePair(3, 3)) {
        error = std::string(kUnavailable) + "the driver offers " +
                (context.isOpenGLES() ? std::string("OpenGL ES ") : std::string("OpenGL ")) +
                std::to_string(format.majorVersion()) + "." +
                std::to_string(format.minorVersion()) + ".";
        return nullptr;
    }
    std::unique_ptr<CGlRenderDevice> device(new CGlRenderDevice(context));
    const std::string reason = device->SetUp();
    if (!reason.empty()) {
        error = std::string(kUnavailable) + reason;
        return nullptr;
    }
    return device;
}

QSurfaceFormat CGlRenderDevice::SurfaceFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    return format;
}

CGlRenderDevice::CGlRenderDevice(QOpenGLContext& context) : m_context(&context)
{
    m_states[StateIndex(RenderState::DepthTest)] = 1;
    m_states[StateIndex(RenderState::AlphaBlend)] = 0;
    m_states[StateIndex(RenderState::SrcBlend)] = static_cast<std::uint32_t>(BlendFactor::One);
    m_states[StateIndex(RenderState::DestBlend)] = static_cast<std::uint32_t>(BlendFactor::One);
    m_states[StateIndex(RenderState::Cull)] =
        static_cast<std::uint32_t>(CullMode::CounterClockwise);
    m_states[StateIndex(RenderState::Fill)] = static_cast<std::uint32_t>(FillMode::Solid);
    m_states[StateIndex(RenderState::Filter)] = static_cast<std::uint32_t>(TextureFilter::Point);
}

std::string CGlRenderDevice::SetUp()
{
    if (!m_gl.initializeOpenGLFunctions())
        return "the OpenGL 3.3 core functions cannot be resolved.";

    auto compile = [this](GLenum type, const char* source, std::string& log) -> GLuint {
        const GLuint shader = m_gl.glCreateShader(type);
        m_gl.glShaderSource(shader, 1, &source, nullptr);
        m_gl.glCompileShader(shader);
        GLint ok = GL_FALSE;
        m_gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
        if (ok != GL_TRUE) {
            char text[512] = {};
            m_gl.glGetShaderInfoLog(shader, sizeof text, nullptr, text);
            log = text;
            m_gl.glDeleteShader(shader);
            return 0;
        }
        return shader;
    };
    std::string log;
    const GLuint vertex = compile(GL_VERTEX_SHADER, kVertexShader, log);
    if (vertex == 0)
        return "the vertex shader does not compile: " + log;
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, kFragmentShader, log);
    if (fragment == 0) {
        m_gl.glDeleteShader(vertex);
        return "the fragment shader does not compile: " + log;
    }
    m_program = m_gl.glCreateProgram();
    m_gl.glAttachShader(m_program, vertex);
    m_gl.glAttachShader(m_program, fragment);
    m_gl.glLinkProgram(m_program);
    m_gl.glDeleteShader(vertex);
    m_gl.glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    m_gl.glGetProgramiv(m_program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        char text[512] = {};
        m_gl.glGetProgramInfoLog(m_program, sizeof text, nullptr, text);
        return std::string("the shaders do not link: ") + text;
    }
    m_transformLocation = m_gl.glGetUniformLocation(m_program, "transform");
    m_texturedLocation = m_gl.glGetUniformLocation(m_program, "textured");
    m_gl.glUseProgram(m_program);
    m_gl.glUniform1i(m_gl.glGetUniformLocation(m_program, "image"), 0);

    // One stream buffer for the lit vertices of every draw: position, colour (0xAARRGGBB, read as
    // BGRA bytes), reserved and specular words skipped, u and v.
    m_gl.glGenVertexArrays(1, &m_vertexArray);
    m_gl.glBindVertexArray(m_vertexArray);
    m_gl.glGenBuffers(1, &m_vertexBuffer);
    m_gl.glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    SetVertexLayout();

    // The triangles of the grouped draws, written anew for each group.
    m_gl.glGenBuffers(1, &m_indexBuffer);

    m_gl.glGenSamplers(1, &m_sampler);
    m_gl.glSamplerParameteri(m_sampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
    m_gl.glSamplerParameteri(m_sampler, GL_TEXTURE_WRAP_T, GL_REPEAT);
    m_gl.glBindSampler(0, m_sampler);

    m_gl.glDepthFunc(GL_LEQUAL);
    for (std::size_t i = 0; i < kRenderStateCount; ++i)
        ApplyState(static_cast<RenderState>(i));
    if (m_gl.glGetError() != GL_NO_ERROR)
        return "the driver refuses the device's set-up.";
    return {};
}

void CGlRenderDevice::SetVertexLayout()
{
    constexpr GLsizei stride = sizeof(D3DLVERTEX);
    m_gl.glEnableVertexAttribArray(0);
    m_gl.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                               reinterpret_cast<const void*>(offsetof(D3DLVERTEX, x)));
    m_gl.glEnableVertexAttribArray(1);
    m_gl.glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                               reinterpret_cast<const void*>(offsetof(D3DLVERTEX, color)));
    m_gl.glEnableVertexAttribArray(2);
    m_gl.glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                               reinterpret_cast<const void*>(offsetof(D3DLVERTEX, tu)));
}

CGlRenderDevice::~CGlRenderDevice()
{
    if (QOpenGLContext::currentContext() != m_context)
        return;  // the context is gone or elsewhere: its objects go with it
    for (const auto& entry : m_textures) {
        const GLuint name = entry.first;
        m_gl.glDeleteTextures(1, &name);
    }
    for (const CStore& store : m_stores) {
        m_gl.glDeleteBuffers(1, &store.m_buffer);
        m_gl.glDeleteVertexArrays(1, &store.m_vertexArray);
    }
    ReleaseTarget();
    if (m_sampler != 0)
        m_gl.glDeleteSamplers(1, &m_sampler);
    if (m_vertexBuffer != 0)
        m_gl.glDeleteBuffers(1, &m_vertexBuffer);
    if (m_indexBuffer != 0)
        m_gl.glDeleteBuffers(1, &m_indexBuffer);
    if (m_vertexArray != 0)
        m_gl.glDeleteVertexArrays(1, &m_vertexArray);
    if (m_program != 0)
        m_gl.glDeleteProgram(m_program);
}

std::string CGlRenderDevice::Renderer()
{
    const GLubyte* text = m_gl.glGetString(GL_RENDERER);
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

// ---- Textures ----

TextureId CGlRenderDevice::CreateTexture(int width, int height, TextureFormat format)
{
    GLint largest = 0;
    m_gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (width < 1 || height < 1 || width > largest || height > largest)
        return kNoTexture;
    GLuint name = 0;
    m_gl.glGenTextures(1, &name);
    if (name == 0)
        return kNoTexture;
    m_gl.glBindTexture(GL_TEXTURE_2D, name);
    m_gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    if (format == TextureFormat::Rgb565)
        m_gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB,
                          GL_UNSIGNED_SHORT_5_6_5, nullptr);
    else
        m_gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA,
                          GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    if (m_gl.glGetError() != GL_NO_ERROR) {
        m_gl.glDeleteTextures(1, &name);
        return kNoTexture;
    }
    m_textures[name] = {width, height, format};
    return name;
}

bool CGlRenderDevice::UploadTexture(TextureId texture, std::span<const std::byte> texels)
{
    const std::span<const std::byte> level0[] = {texels};
    return UploadTextureLevels(texture, level0);
}

bool CGlRenderDevice::UploadTextureLevels(TextureId texture,
                                          std::span<const std::span<const std::byte>> levels)
{
    const auto found = m_textures.find(texture);
    if (found == m_textures.end() || levels.empty())
        return false;
    CTextureInfo& info = found->second;
    // Every level is checked before any is sent, so a refused chain leaves the texture as it was.
    int width = info.m_width;
    int height = info.m_height;
    for (std::size_t level = 0; level < levels.size(); ++level) {
        if (level > 0) {
            if (width == 1 && height == 1)
                return false;  // nothing lies below 1 x 1
            width = std::max(width / 2, 1);
            height = std::max(height / 2, 1);
        }
        const std::size_t expected = static_cast<std::size_t>(width) *
                                     static_cast<std::size_t>(height) * TexelBytes(info.m_format);
        if (levels[level].size() != expected)
            return false;
    }
    const GLenum format = info.m_format == TextureFormat::Rgb565 ? GL_RGB : GL_BGRA;
    const GLenum type = info.m_format == TextureFormat::Rgb565 ? GL_UNSIGNED_SHORT_5_6_5
                                                               : GL_UNSIGNED_INT_8_8_8_8_REV;
    const GLint internal = info.m_format == TextureFormat::Rgb565 ? GL_RGB8 : GL_RGBA8;
    m_gl.glBindTexture(GL_TEXTURE_2D, texture);
    m_gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    m_gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    m_gl.glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, info.m_width, info.m_height, format, type,
                         levels[0].data());
    width = info.m_width;
    height = info.m_height;
    for (std::size_t level = 1; level < levels.size(); ++level) {
        width = std::max(width / 2, 1);
        height = std::max(height / 2, 1);
        // A level that has its storage already (an animated texture's next cel) is only filled.
        if (level < info.m_levels)
            m_gl.glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 0, 0, width, height,
                                 format, type, levels[level].data());
        else
            m_gl.glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), internal, width, height, 0,
                              format, type, levels[level].data());
    }
    info.m_levels = std::max(info.m_levels, levels.size());
    // Sampling stops at the last level sent; levels left from an earlier chain lie unused.
    m_gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL,
                         static_cast<GLint>(levels.size() - 1));
    return m_gl.glGetError() == GL_NO_ERROR;
}

void CGlRenderDevice::ReleaseTexture(TextureId texture)
{
    const auto found = m_textures.find(texture);
    if (found == m_textures.end())
        return;
    const GLuint name = texture;
    m_gl.glDeleteTextures(1, &name);
    m_textures.erase(found);
}

// ---- Drawing ----

void CGlRenderDevice::SetWorldTransform(const D3DMATRIX& world)
{
    m_world = world;
    m_transformDirty = true;
}

void CGlRenderDevice::SetViewTransform(const D3DMATRIX& view)
{
    m_view = view;
    m_transformDirty = true;
}

void CGlRenderDevice::SetProjectionTransform(const D3DMATRIX& projection)
{
    m_projection = projection;
    m_transformDirty = true;
}

void CGlRenderDevice::UpdateTransform()
{
    if (!m_transformDirty)
        return;
    // Row vectors: p x world x view x projection. Handed over untransposed, the row-major array
    // reads as the transpose in column-major GLSL, which is exactly the column-vector form.
    const D3DMATRIX all =
        MatrixMultiply(MatrixMultiply(MatrixMultiply(m_world, m_view), m_projection), DepthToGl());
    m_gl.glUniformMatrix4fv(m_transformLocation, 1, GL_FALSE, &all.m[0][0]);
    m_transformDirty = false;
}

bool CGlRenderDevice::PrepareDraw(PrimitiveType type, std::size_t count, TextureId texture,
                                  GLenum& mode)
{
    switch (type) {
    case PrimitiveType::TriangleList:
        mode = GL_TRIANGLES;
        break;
    case PrimitiveType::TriangleFan:
        mode = GL_TRIANGLE_FAN;
        break;
    case PrimitiveType::LineStrip:
        mode = GL_LINE_STRIP;
        break;
    }
    if (count < LeastVertices(type) || m_framebuffer == 0)
        return false;
    m_gl.glUseProgram(m_program);
    UpdateTransform();

    const bool textured = texture != kNoTexture && m_textures.contains(texture);
    m_gl.glUniform1i(m_texturedLocation, textured ? 1 : 0);
    if (textured) {
        m_gl.glActiveTexture(GL_TEXTURE0);
        m_gl.glBindTexture(GL_TEXTURE_2D, texture);
    }
    return true;
}

void CGlRenderDevice::DrawPrimitive(PrimitiveType type, std::span<const D3DLVERTEX> vertices,
                                    TextureId texture)
{
    GLenum mode = GL_TRIANGLES;
    if (!PrepareDraw(type, vertices.size(), texture, mode))
        return;
    m_gl.glBindVertexArray(m_vertexArray);
    const auto bytes = static_cast<GLsizeiptr>(vertices.size_bytes());
    m_gl.glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    if (bytes > m_vertexBufferBytes) {
        m_vertexBufferBytes = std::max<GLsizeiptr>(bytes, 64 * 1024);
        m_gl.glBufferData(GL_ARRAY_BUFFER, m_vertexBufferBytes, nullptr, GL_STREAM_DRAW);
    }
    m_gl.glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices.data());
    m_gl.glDrawArrays(mode, 0, static_cast<GLsizei>(vertices.size()));
}

// ---- Vertex buffers ----

BufferId CGlRenderDevice::CreateVertexBuffer()
{
    if (m_lastBuffer == std::numeric_limits<BufferId>::max())
        return kNoBuffer;
    const BufferId buffer = ++m_lastBuffer;
    m_buffers[buffer] = CBufferInfo{};
    return buffer;
}

bool CGlRenderDevice::Allocate(std::size_t size, std::size_t& store, CBlock& block)
{
    for (std::size_t s = 0; s < m_stores.size(); ++s) {
        std::vector<CBlock>& free = m_stores[s].m_free;
        for (std::size_t i = 0; i < free.size(); ++i) {
            if (free[i].m_size < size)
                continue;
            store = s;
            block = {free[i].m_offset, size};
            free[i].m_offset += size;
            free[i].m_size -= size;
            if (free[i].m_size == 0)
                free.erase(free.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    for (std::size_t s = 0; s < m_stores.size(); ++s) {
        CStore& candidate = m_stores[s];
        if (candidate.m_capacity - candidate.m_used >= size) {
            store = s;
            block = {candidate.m_used, size};
            candidate.m_used += size;
            return true;
        }
    }
    CStore fresh;
    fresh.m_capacity = std::max(kStoreVertices, size);
    m_gl.glGenBuffers(1, &fresh.m_buffer);
    m_gl.glGenVertexArrays(1, &fresh.m_vertexArray);
    bool made = fresh.m_buffer != 0 && fresh.m_vertexArray != 0;
    if (made) {
        m_gl.glBindVertexArray(fresh.m_vertexArray);
        m_gl.glBindBuffer(GL_ARRAY_BUFFER, fresh.m_buffer);
        m_gl.glBufferData(GL_ARRAY_BUFFER,
                          static_cast<GLsizeiptr>(fresh.m_capacity * sizeof(D3DLVERTEX)), nullptr,
                          GL_STATIC_DRAW);
        SetVertexLayout();
        m_gl.glBindVertexArray(m_vertexArray);
        made = m_gl.glGetError() == GL_NO_ERROR;
    }
    if (!made) {
        if (fresh.m_buffer != 0)
            m_gl.glDeleteBuffers(1, &fresh.m_buffer);
        if (fresh.m_vertexArray != 0)
            m_gl.glDeleteVertexArrays(1, &fresh.m_vertexArray);
        return false;
    }
    fresh.m_used = size;
    store = m_stores.size();
    block = {0, size};
    m_stores.push_back(std::move(fresh));
    return true;
}

void CGlRenderDevice::Free(std::size_t store, const CBlock& block)
{
    if (block.m_size == 0 || store >= m_stores.size())
        return;
    CStore& owner = m_stores[store];
    std::vector<CBlock>& free = owner.m_free;
    auto at =
        std::lower_bound(free.begin(), free.end(), block.m_offset,
                         [](const CBlock& b, std::size_t offset) { return b.m_offset < offset; });
    at = free.insert(at, block);
    if (at + 1 != free.end() && at->m_offset + at->m_size == (at + 1)->m_offset) {
        at->m_size += (at + 1)->m_size;
        free.erase(at + 1);
    }
    if (at != free.begin() && (at - 1)->m_offset + (at - 1)->m_size == at->m_offset) {
        (at - 1)->m_size += at->m_size;
        at = free.erase(at) - 1;
    }
    // A free block at the end gives its room back to the unused end.
    if (!free.empty() && free.back().m_offset + free.back().m_size == owner.m_used) {
        owner.m_used = free.back().m_offset;
        free.pop_back();
    }
}

bool CGlRenderDevice::UploadVertexBuffer(BufferId buffer, std::span<const D3DLVERTEX> vertices)
{
    const auto found = m_buffers.find(buffer);
    if (found == m_buffers.end())
        return false;
    CBufferInfo& info = found->second;
    info.m_count = 0;
    const std::size_t count = vertices.size();
    if (count > static_cast<std::size_t>(std::numeric_limits<GLsizei>::max()))
        return false;
    // Errors left by earlier calls are not this upload's.
    for (int i = 0; i < 8 && m_gl.glGetError() != GL_NO_ERROR; ++i) {
    }
    // A new block when the vertices outgrow the buffer's or use less than half of it.
    if (count > info.m_block.m_size || count < info.m_block.m_size / 2) {
        Free(info.m_store, info.m_block);
        info.m_block = {};
        if (count > 0 && !Allocate(count, info.m_store, info.m_block))
            return false;
    }
    if (count > 0) {
        m_gl.glBindBuffer(GL_ARRAY_BUFFER, m_stores[info.m_store].m_buffer);
        m_gl.glBufferSubData(GL_ARRAY_BUFFER,
                             static_cast<GLintptr>(info.m_block.m_offset * sizeof(D3DLVERTEX)),
                             static_cast<GLsizeiptr>(vertices.size_bytes()), vertices.data());
        if (m_gl.glGetError() != GL_NO_ERROR)
            return false;
    }
    info.m_count = count;
    return true;
}

bool CGlRenderDevice::StoreRange(BufferId buffer, std::size_t first, std::size_t count,
                                 CStoreRange& out) const
{
    const auto found = m_buffers.find(buffer);
    if (found == m_buffers.end())
        return false;
    const CBufferInfo& info = found->second;
    if (first > info.m_count || count > info.m_count - first)
        return false;
    // The whole range lies inside the buffer's block, whose end fits a GLsizei.
    out = {info.m_store, static_cast<GLint>(info.m_block.m_offset + first),
           static_cast<GLsizei>(count)};
    return true;
}

void CGlRenderDevice::DrawVertexBuffer(BufferId buffer, PrimitiveType type, std::size_t first,
                                       std::size_t count, TextureId texture)
{
    CStoreRange range{};
    GLenum mode = GL_TRIANGLES;
    if (!StoreRange(buffer, first, count, range) || !PrepareDraw(type, count, texture, mode))
        return;
    m_gl.glBindVertexArray(m_stores[range.m_store].m_vertexArray);
    m_gl.glDrawArrays(mode, range.m_first, range.m_count);
    m_gl.glBindVertexArray(m_vertexArray);
}

void CGlRenderDevice::DrawVertexBufferRanges(PrimitiveType type,
                                             std::span<const CBufferRange> ranges,
                                             TextureId texture)
{
    const std::size_t least = LeastVertices(type);
    m_storeRanges.clear();
    for (const CBufferRange& range : ranges) {
        CStoreRange inStore{};
        if (range.m_count >= least &&
            StoreRange(range.m_buffer, range.m_first, range.m_count, inStore))
            m_storeRanges.push_back(inStore);
    }
    GLenum mode = GL_TRIANGLES;
    if (m_storeRanges.empty() || !PrepareDraw(type, least, texture, mode))
        return;
    std::stable_sort(
        m_storeRanges.begin(), m_storeRanges.end(),
        [](const CStoreRange& a, const CStoreRange& b) { return a.m_store < b.m_store; });
    for (std::size_t begin = 0; begin < m_storeRanges.size();) {
        const std::size_t store = m_storeRanges[begin].m_store;
        std::size_t end = begin;
        while (end < m_storeRanges.size() && m_storeRanges[end].m_store == store)
            ++end;
        m_gl.glBindVertexArray(m_stores[store].m_vertexArray);
        if (type == PrimitiveType::LineStrip)
            DrawStoreRangesEach(mode, begin, end);
        else
            DrawStoreRangesAsTriangles(type, begin, end);
        begin = end;
    }
    m_gl.glBindVertexArray(m_vertexArray);
}

void CGlRenderDevice::DrawStoreRangesEach(GLenum mode, std::size_t begin, std::size_t end)
{
    m_firsts.clear();
    m_counts.clear();
    for (std::size_t i = begin; i < end; ++i) {
        m_firsts.push_back(m_storeRanges[i].m_first);
        m_counts.push_back(m_storeRanges[i].m_count);
    }
    m_gl.glMultiDrawArrays(mode, m_firsts.data(), m_counts.data(),
                           static_cast<GLsizei>(m_firsts.size()));
}

// The driver takes each range of a multiple draw as a draw of its own, which costs more than its
// few triangles: the ranges become one list of indexed triangles instead. A fan's triangles are
// those the driver makes of it, in its order: (first, i - 1, i) for i from 2 on.
void CGlRenderDevice::DrawStoreRangesAsTriangles(PrimitiveType type, std::size_t begin,
                                                 std::size_t end)
{
    m_indices.clear();
    for (std::size_t i = begin; i < end; ++i) {
        const auto first = static_cast<GLuint>(m_storeRanges[i].m_first);
        const auto count = static_cast<GLuint>(m_storeRanges[i].m_count);
        if (type == PrimitiveType::TriangleFan) {
            for (GLuint k = 2; k < count; ++k) {
                m_indices.push_back(first);
                m_indices.push_back(first + k - 1);
                m_indices.push_back(first + k);
            }
        } else {
            // A list's trailing vertices that make no whole triangle draw nothing.
            for (GLuint k = 0; k < count - count % 3; ++k)
                m_indices.push_back(first + k);
        }
    }
    if (m_indices.empty())
        return;
    // More indices than one draw can count (far beyond any level's size) go range by range.
    if (m_indices.size() > static_cast<std::size_t>(std::numeric_limits<GLsizei>::max())) {
        m_indices.clear();
        DrawStoreRangesEach(type == PrimitiveType::TriangleFan ? GL_TRIANGLE_FAN : GL_TRIANGLES,
                            begin, end);
        return;
    }
    // The element buffer belongs to the bound vertex array; its contents are replaced whole, so
    // the driver may hand out fresh storage instead of waiting for the last draw from it.
    m_gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indexBuffer);
    m_gl.glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                      static_cast<GLsizeiptr>(m_indices.size() * sizeof(GLuint)), m_indices.data(),
                      GL_STREAM_DRAW);
    m_gl.glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(m_indices.size()), GL_UNSIGNED_INT,
                        nullptr);
}

void CGlRenderDevice::ReleaseVertexBuffer(BufferId buffer)
{
    const auto found = m_buffers.find(buffer);
    if (found == m_buffers.end())
        return;
    Free(found->second.m_store, found->second.m_block);
    m_buffers.erase(found);
}

// ---- Frames ----

void CGlRenderDevice::ReleaseTarget()
{
    if (m_framebuffer != 0)
        m_gl.glDeleteFramebuffers(1, &m_framebuffer);
    if (m_colorBuffer != 0)
        m_gl.glDeleteRenderbuffers(1, &m_colorBuffer);
    if (m_depthBuffer != 0)
        m_gl.glDeleteRenderbuffers(1, &m_depthBuffer);
    m_framebuffer = m_colorBuffer = m_depthBuffer = 0;
    m_width = m_height = 0;
}

bool CGlRenderDevice::SetRenderSize(int width, int height)
{
    GLint largest = 0;
    m_gl.glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (width < 1 || height < 1 || width > largest || height > largest)
        return false;
    if (width == m_width && height == m_height && m_framebuffer != 0)
        return true;
    GLuint framebuffer = 0;
    GLuint buffers[2] = {};
    m_gl.glGenFramebuffers(1, &framebuffer);
    m_gl.glGenRenderbuffers(2, buffers);
    m_gl.glBindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    m_gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    m_gl.glBindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    m_gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    m_gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                   buffers[0]);
    m_gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                   buffers[1]);
    const bool complete =
        m_gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE &&
        m_gl.glGetError() == GL_NO_ERROR;
    if (!complete) {
        m_gl.glDeleteFramebuffers(1, &framebuffer);
        m_gl.glDeleteRenderbuffers(2, buffers);
        m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        return false;
    }
    ReleaseTarget();
    m_framebuffer = framebuffer;
    m_colorBuffer = buffers[0];
    m_depthBuffer = buffers[1];
    m_width = width;
    m_height = height;
    m_gl.glViewport(0, 0, width, height);
    return true;
}

void CGlRenderDevice::BeginFrame()
{
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    m_gl.glViewport(0, 0, m_width, m_height);
    m_gl.glUseProgram(m_program);
    m_gl.glBindVertexArray(m_vertexArray);
    m_gl.glBindSampler(0, m_sampler);
    m_gl.glDisable(GL_SCISSOR_TEST);
    for (std::size_t i = 0; i < kRenderStateCount; ++i)
        ApplyState(static_cast<RenderState>(i));
    m_transformDirty = true;
}

void CGlRenderDevice::EndFrame()
{
    m_gl.glFlush();
}

void CGlRenderDevice::Clear(std::uint32_t argb)
{
    if (m_framebuffer == 0)
        return;
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    auto channel = [argb](int shift) {
        return static_cast<float>((argb >> shift) & 0xFFu) / 255.0f;
    };
    m_gl.glClearColor(channel(16), channel(8), channel(0), channel(24));
    m_gl.glClearDepth(1.0);
    m_gl.glDepthMask(GL_TRUE);
    m_gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    m_gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void CGlRenderDevice::SetRenderState(RenderState state, std::uint32_t value)
{
    const std::size_t index = StateIndex(state);
    if (index >= kRenderStateCount)
        return;
    std::uint32_t limit = 1;  // values 0..limit are known
    switch (state) {
    case RenderState::DepthTest:
    case RenderState::AlphaBlend:
    case RenderState::Fill:
    case RenderState::Filter:
        limit = 1;
        break;
    case RenderState::SrcBlend:
    case RenderState::DestBlend:
        limit = static_cast<std::uint32_t>(BlendFactor::InvSrcAlpha);
        break;
    case RenderState::Cull:
        limit = static_cast<std::uint32_t>(CullMode::CounterClockwise);
        break;
    }
    if (value > limit)
        return;
    m_states[index] = value;
    ApplyState(state);
}

void CGlRenderDevice::ApplyState(RenderState state)
{
    const std::uint32_t value = m_states[StateIndex(state)];
    switch (state) {
    case RenderState::DepthTest:
        if (value != 0)
            m_gl.glEnable(GL_DEPTH_TEST);
        else
            m_gl.glDisable(GL_DEPTH_TEST);
        break;
    case RenderState::AlphaBlend:
        if (value != 0)
            m_gl.glEnable(GL_BLEND);
        else
            m_gl.glDisable(GL_BLEND);
        break;
    case RenderState::SrcBlend:
    case RenderState::DestBlend:
        m_gl.glBlendFunc(GlBlendFactor(m_states[StateIndex(RenderState::SrcBlend)]),
                         GlBlendFactor(m_states[StateIndex(RenderState::DestBlend)]));
        break;
    case RenderState::Cull:
        // The engine's clip space keeps y up like OpenGL's, so a winding seen on screen is the
        // same winding here: cull the back faces and call the other winding front.
        if (value == static_cast<std::uint32_t>(CullMode::None)) {
            m_gl.glDisable(GL_CULL_FACE);
        } else {
            m_gl.glEnable(GL_CULL_FACE);
            m_gl.glCullFace(GL_BACK);
            m_gl.glFrontFace(
                value == static_cast<std::uint32_t>(CullMode::CounterClockwise) ? GL_CW : GL_CCW);
        }
        break;
    case RenderState::Fill:
        m_gl.glPolygonMode(GL_FRONT_AND_BACK, value != 0 ? GL_LINE : GL_FILL);
        break;
    case RenderState::Filter: {
        // Minified texels come from the mip levels; a texture sent without them has level 0 as
        // its last and samples as without mip filtering.
        const bool linear = value != 0;
        m_gl.glSamplerParameteri(m_sampler, GL_TEXTURE_MIN_FILTER,
                                 linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST);
        m_gl.glSamplerParameteri(m_sampler, GL_TEXTURE_MAG_FILTER, linear ? GL_LINEAR : GL_NEAREST);
        break;
    }
    }
}

bool CGlRenderDevice::ReadPixels(std::vector<std::uint32_t>& argb, int& width, int& height)
{
    argb.clear();
    width = height = 0;
    if (m_framebuffer == 0)
        return false;
    const auto rowPixels = static_cast<std::size_t>(m_width);
    const auto rows = static_cast<std::size_t>(m_height);
    std::vector<std::uint32_t> bottomUp(rowPixels * rows);
    m_gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
    m_gl.glReadBuffer(GL_COLOR_ATTACHMENT0);
    m_gl.glPixelStorei(GL_PACK_ALIGNMENT, 4);
    m_gl.glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    m_gl.glReadPixels(0, 0, m_width, m_height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                      bottomUp.data());
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    if (m_gl.glGetError() != GL_NO_ERROR)
        return false;
    // OpenGL reads the bottom row first; hand the top row first.
    argb.resize(bottomUp.size());
    for (std::size_t row = 0; row < rows; ++row)
        std::memcpy(argb.data() + row * rowPixels, bottomUp.data() + (rows - 1 - row) * rowPixels,
                    rowPixels * sizeof(std::uint32_t));
    width = m_width;
    height = m_height;
    return true;
}

void CGlRenderDevice::PresentTo(unsigned int target, int width, int height)
{
    if (m_framebuffer == 0 || width < 1 || height < 1)
        return;
    m_gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
    m_gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
    m_gl.glBlitFramebuffer(0, 0, m_width, m_height, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                           GL_NEAREST);
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, target);
    m_gl.glViewport(0, 0, width, height);
    m_gl.glDisable(GL_SCISSOR_TEST);
    m_gl.glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    m_gl.glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    m_gl.glClear(GL_COLOR_BUFFER_BIT);
    m_gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    m_gl.glViewport(0, 0, m_width, m_height);
}
