#pragma once
// The render device of the 3D view on OpenGL 3.3 core, through Qt's OpenGL functions.
//
// Every frame is drawn into an offscreen framebuffer of the render size (the size chosen for the
// view: the window's, or a fixed size from the display-mode list) and scaled into the window
// afterwards (PresentTo). A small shader pair does what the fixed-function pipeline of the view
// did: the texture modulated by the vertex colour (0xAARRGGBB), blending, depth test, culling by
// on-screen winding, and wireframe fill. The engine's matrices stay in the row-vector convention
// with depth 0..1; the device maps them to OpenGL's clip space (depth -1..1).
//
// Every call needs the device's context current on the calling thread, destruction included.

#include "engine/RenderDevice.h"

#include <QOpenGLFunctions_3_3_Core>
#include <QSurfaceFormat>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QOpenGLContext;

// Number of render states (RenderState::Filter is the last).
inline constexpr std::size_t kRenderStateCount = 7;

class CGlRenderDevice : public RenderDevice {
public:
    // A device on context, which must be current. nullptr, with error set to a message that
    // starts "OpenGL 3.3 is not available: ", when the context is not an OpenGL 3.3 (or later)
    // context or the device cannot set itself up on it.
    static std::unique_ptr<CGlRenderDevice> Create(QOpenGLContext& context, std::string& error);

    // The format of the surfaces and contexts the device is made on: OpenGL 3.3 core with a
    // 24-bit depth buffer (without asking, a driver may give an older compatibility context).
    static QSurfaceFormat SurfaceFormat();

    ~CGlRenderDevice() override;
    CGlRenderDevice(const CGlRenderDevice&) = delete;
    CGlRenderDevice& operator=(const CGlRenderDevice&) = delete;

    TextureId CreateTexture(int width, int height, TextureFormat format) override;
    bool UploadTexture(TextureId texture, std::span<const std::byte> texels) override;
    bool UploadTextureLevels(TextureId texture,
                             std::span<const std::span<const std::byte>> levels) override;
    void ReleaseTexture(TextureId texture) override;
    void SetWorldTransform(const D3DMATRIX& world) override;
    void DrawPrimitive(PrimitiveType type, std::span<const D3DLVERTEX> vertices,
                       TextureId texture) override;
    BufferId CreateVertexBuffer() override;
    bool UploadVertexBuffer(BufferId buffer, std::span<const D3DLVERTEX> vertices) override;
    void DrawVertexBuffer(BufferId buffer, PrimitiveType type, std::size_t first, std::size_t count,
                          TextureId texture) override;
    // One draw for the ranges that live in each shared store (most levels: one): triangles and
    // fans as one list of indexed triangles, line strips as a glMultiDrawArrays.
    void DrawVertexBufferRanges(PrimitiveType type, std::span<const CBufferRange> ranges,
                                TextureId texture) override;
    void ReleaseVertexBuffer(BufferId buffer) override;
    bool SetRenderSize(int width, int height) override;
    void BeginFrame() override;
    void EndFrame() override;
    void Clear(std::uint32_t argb) override;
    void SetViewTransform(const D3DMATRIX& view) override;
    void SetProjectionTransform(const D3DMATRIX& projection) override;
    void SetRenderState(RenderState state, std::uint32_t value) override;
    bool ReadPixels(std::vector<std::uint32_t>& argb, int& width, int& height) override;

    // Scales the last frame into framebuffer target (0: the default framebuffer of the current
    // surface) of width x height pixels, filling it, and makes the target opaque (the frame's
    // clear colour has alpha 0). Nothing for a size that is not positive or without a render
    // target.
    void PresentTo(unsigned int target, int width, int height);

    int RenderWidth() const { return m_width; }
    int RenderHeight() const { return m_height; }
    // The renderer's name as the driver gives it (GL_RENDERER).
    std::string Renderer();

private:
    struct CTextureInfo {
        int m_width = 0;
        int m_height = 0;
        TextureFormat m_format = TextureFormat::Rgb565;
        std::size_t m_levels = 1;  // mip levels given storage so far (level 0 at creation)
    };

    // Kept vertex buffers live side by side in a few large buffer objects, the stores, so that
    // the ranges of many of them draw with one call. A store has its own vertex array; its free
    // blocks are kept sorted by offset and merged with their neighbours.
    struct CBlock {
        std::size_t m_offset = 0;  // in vertices
        std::size_t m_size = 0;
    };
    struct CStore {
        GLuint m_buffer = 0;
        GLuint m_vertexArray = 0;
        std::size_t m_capacity = 0;  // vertices
        std::size_t m_used = 0;      // vertices below this end were handed out at some time
        std::vector<CBlock> m_free;
    };
    // A kept vertex buffer: its block of a store and the vertices of its last accepted upload.
    struct CBufferInfo {
        std::size_t m_store = 0;
        CBlock m_block;  // size 0: no block
        std::size_t m_count = 0;
    };
    // A range of a store, on its way to glMultiDrawArrays.
    struct CStoreRange {
        std::size_t m_store;
        GLint m_first;
        GLsizei m_count;
    };

    explicit CGlRenderDevice(QOpenGLContext& context);
    // Points the vertex attributes of the bound vertex array at the bound array buffer.
    void SetVertexLayout();
    // Readies program, transform and texture for a draw into the render target; false when there
    // is no render target or too few vertices for type. mode is the OpenGL primitive.
    bool PrepareDraw(PrimitiveType type, std::size_t count, TextureId texture, GLenum& mode);
    // The range of a kept buffer as a range of its store; false for an unknown buffer or a range
    // outside its last accepted upload.
    bool StoreRange(BufferId buffer, std::size_t first, std::size_t count, CStoreRange& out) const;
    // A block of size vertices (at least 1) in some store: the first free block that fits, else
    // the unused end of a store, else a new store. false when no store can be made.
    bool Allocate(std::size_t size, std::size_t& store, CBlock& block);
    void Free(std::size_t store, const CBlock& block);
    // Draws m_storeRanges[begin, end), all of one store whose vertex array is bound: one
    // glMultiDrawArrays of mode, or one glDrawElements of their triangles (a list or fans).
    void DrawStoreRangesEach(GLenum mode, std::size_t begin, std::size_t end);
    void DrawStoreRangesAsTriangles(PrimitiveType type, std::size_t begin, std::size_t end);
    // Compiles the shaders and makes the buffers; an empty text on success, else the reason.
    std::string SetUp();
    void ReleaseTarget();
    void ApplyState(RenderState state);
    void UpdateTransform();

    QOpenGLContext* m_context;
    QOpenGLFunctions_3_3_Core m_gl;
    GLuint m_program = 0;
    GLint m_transformLocation = -1;
    GLint m_texturedLocation = -1;
    GLuint m_vertexArray = 0;
    GLuint m_vertexBuffer = 0;
    GLsizeiptr m_vertexBufferBytes = 0;
    GLuint m_indexBuffer = 0;  // the triangles of the last grouped draw
    GLuint m_sampler = 0;
    GLuint m_framebuffer = 0;
    GLuint m_colorBuffer = 0;
    GLuint m_depthBuffer = 0;
    int m_width = 0;
    int m_height = 0;
    std::unordered_map<TextureId, CTextureInfo> m_textures;
    std::vector<CStore> m_stores;
    std::unordered_map<BufferId, CBufferInfo> m_buffers;
    BufferId m_lastBuffer = kNoBuffer;
    std::vector<CStoreRange> m_storeRanges;  // scratch of DrawVertexBufferRanges
    std::vector<GLint> m_firsts;
    std::vector<GLsizei> m_counts;
    std::vector<GLuint> m_indices;
    D3DMATRIX m_world = MatrixIdentity();
    D3DMATRIX m_view = MatrixIdentity();
    D3DMATRIX m_projection = MatrixIdentity();
    bool m_transformDirty = true;
    std::array<std::uint32_t, kRenderStateCount> m_states{};
};
