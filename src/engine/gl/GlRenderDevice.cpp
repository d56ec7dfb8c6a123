#include "engine/gl/GlRenderDevice.h"

#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <algorithm>
#include <cstring>
#include <limits>

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
    for (const auto& entry : m_buffers) {
        const GLuint name = entry.first;
        m_gl.glDeleteBuffers(1, &name);
        m_gl.glDeleteVertexArrays(1, &entry.second.m_vertexArray);
    }
    ReleaseTarget();
    if (m_sampler != 0)
        m_gl.glDeleteSamplers(1, &m_sampler);
    if (m_vertexBuffer != 0)
        m_gl.glDeleteBuffers(1, &m_vertexBuffer);
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
    const auto found = m_textures.find(texture);
    if (found == m_textures.end())
        return false;
    const CTextureInfo& info = found->second;
    const std::size_t expected = static_cast<std::size_t>(info.m_width) *
                                 static_cast<std::size_t>(info.m_height) *
                                 TexelBytes(info.m_format);
    if (texels.size() != expected)
        return false;
    m_gl.glBindTexture(GL_TEXTURE_2D, texture);
    m_gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    m_gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (info.m_format == TextureFormat::Rgb565)
        m_gl.glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, info.m_width, info.m_height, GL_RGB,
                             GL_UNSIGNED_SHORT_5_6_5, texels.data());
    else
        m_gl.glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, info.m_width, info.m_height, GL_BGRA,
                             GL_UNSIGNED_INT_8_8_8_8_REV, texels.data());
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
    std::size_t least = 3;
    switch (type) {
    case PrimitiveType::TriangleList:
        mode = GL_TRIANGLES;
        break;
    case PrimitiveType::TriangleFan:
        mode = GL_TRIANGLE_FAN;
        break;
    case PrimitiveType::LineStrip:
        mode = GL_LINE_STRIP;
        least = 2;
        break;
    }
    if (count < least || m_framebuffer == 0)
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
    GLuint name = 0;
    m_gl.glGenBuffers(1, &name);
    if (name == 0)
        return kNoBuffer;
    CBufferInfo info;
    m_gl.glGenVertexArrays(1, &info.m_vertexArray);
    if (info.m_vertexArray == 0) {
        m_gl.glDeleteBuffers(1, &name);
        return kNoBuffer;
    }
    m_gl.glBindVertexArray(info.m_vertexArray);
    m_gl.glBindBuffer(GL_ARRAY_BUFFER, name);
    SetVertexLayout();
    m_gl.glBindVertexArray(m_vertexArray);
    m_buffers[name] = info;
    return name;
}

bool CGlRenderDevice::UploadVertexBuffer(BufferId buffer, std::span<const D3DLVERTEX> vertices)
{
    const auto found = m_buffers.find(buffer);
    if (found == m_buffers.end())
        return false;
    CBufferInfo& info = found->second;
    if (vertices.size() > static_cast<std::size_t>(std::numeric_limits<GLsizei>::max())) {
        info.m_count = 0;
        return false;
    }
    const auto bytes = static_cast<GLsizeiptr>(vertices.size_bytes());
    // Errors left by earlier calls are not this upload's.
    for (int i = 0; i < 8 && m_gl.glGetError() != GL_NO_ERROR; ++i) {
    }
    m_gl.glBindBuffer(GL_ARRAY_BUFFER, buffer);
    if (bytes > info.m_capacity || bytes < info.m_capacity / 2) {
        // A new store of the exact size; data that rarely changes.
        m_gl.glBufferData(GL_ARRAY_BUFFER, bytes, vertices.data(), GL_STATIC_DRAW);
        info.m_capacity = bytes;
    } else if (bytes > 0) {
        m_gl.glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices.data());
    }
    if (m_gl.glGetError() != GL_NO_ERROR) {
        info.m_count = 0;
        info.m_capacity = 0;
        return false;
    }
    info.m_count = vertices.size();
    return true;
}

void CGlRenderDevice::DrawVertexBuffer(BufferId buffer, PrimitiveType type, std::size_t first,
                                       std::size_t count, TextureId texture)
{
    const auto found = m_buffers.find(buffer);
    if (found == m_buffers.end())
        return;
    const CBufferInfo& info = found->second;
    if (first > info.m_count || count > info.m_count - first)
        return;
    GLenum mode = GL_TRIANGLES;
    if (!PrepareDraw(type, count, texture, mode))
        return;
    m_gl.glBindVertexArray(info.m_vertexArray);
    m_gl.glDrawArrays(mode, static_cast<GLint>(first), static_cast<GLsizei>(count));
    m_gl.glBindVertexArray(m_vertexArray);
}

void CGlRenderDevice::ReleaseVertexBuffer(BufferId buffer)
{
    const auto found = m_buffers.find(buffer);
    if (found == m_buffers.end())
        return;
    // Without the device's context current its objects cannot be named; they go with the
    // context.
    if (QOpenGLContext::currentContext() == m_context) {
        const GLuint name = buffer;
        m_gl.glDeleteBuffers(1, &name);
        m_gl.glDeleteVertexArrays(1, &found->second.m_vertexArray);
    }
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
        const GLint filter = value != 0 ? GL_LINEAR : GL_NEAREST;
        m_gl.glSamplerParameteri(m_sampler, GL_TEXTURE_MIN_FILTER, filter);
        m_gl.glSamplerParameteri(m_sampler, GL_TEXTURE_MAG_FILTER, filter);
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
