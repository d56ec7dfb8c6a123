#pragma once
// Support of the tests of the running editor on a real OpenGL context (label "gl"): the editor
// opened on the two joined rooms with its 3D view drawn and focused, the camera placed, the
// window point where a surface is drawn, mouse events, the saved bytes of a document, keys that
// wait for the next paint, and pixel counts of a picture.

#include "AppTestSupport.h"

#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "math/Vector3.h"

#include <QEvent>
#include <QImage>
#include <QPoint>

#include <cstdint>
#include <vector>

class C3dView;
class CQzlSections;
class QRect;

// Pixels of image in the colour bgr (0x00BBGGRR, as the colour settings hold it).
int CountColor(const QImage& image, std::uint32_t bgr);
// Pixels of image inside area darker than grey 96: the text drawn there.
int DarkPixels(const QImage& image, const QRect& area);
// The distinct colours of image inside rect.
int DistinctColors(const QImage& image, const QRect& rect);
// Pixels inside rect where a and b (of one size) differ by more than threshold in some channel.
int ChangedPixels(const QImage& a, const QImage& b, const QRect& rect, int threshold);

// Dresses box sector (tests/support/FixtureLevels.h) in materials of the game: its floor,
// ceiling and walls (portals stay bare) take the named materials, laid out from each side's first
// corner at 64 texels a unit.
void DressBoxSector(CQzlSections& level, int sector, const char* floor, const char* ceiling,
                    const char* walls);

inline constexpr int kEditorWaitMs = 20000;
inline constexpr std::uint32_t kEditorBackground = 0x00204060;  // "ColorBackground", 0x00BBGGRR

class EditorTest : public AppTest {
protected:
    using Bytes = std::vector<std::uint8_t>;

    // The editor showing the two joined rooms (all sectors solid, the background
    // kEditorBackground), its window active and the 3D view drawn with the focus; the render
    // size follows "StretchMode" (1: the first display mode, whatever the window's size).
    void Open(int stretchMode = 1);
    // The same with level instead of the two joined rooms.
    void Open(CQzlSections level, int stretchMode);

    C3dView& Engine() { return *m_view->Engine(); }

    // Lights every surface of the level that has a material, as Create Light does a current
    // surface in flat mode, by how it faces a far light lying along toLight: from a quarter of
    // the full light for a face turned away to full light for one turned to it, so that faces of
    // different slopes show apart.
    // One undo step; the selection is left as it was.
    void LightByFacing(const CVector3& toLight);

    // Puts the camera at (x, y, z) looking along +z, and waits for the frame that shows it.
    void PlaceCamera(float x, float y, float z);
    // The camera at eye looking at target, upright; waits for the frame that shows it.
    void PlaceCamera(const CVector3& eye, const CVector3& target);

    // The surface of sector whose corners all lie in the plane z = 1 (the sector's far wall).
    int FarWall(int sector);

    // The point of the view (logical pixels) where the world point is drawn: through world x
    // view x projection into the render target, then back to the window's pixels as the mouse
    // gives them. False when it is not in front of the camera and inside the view.
    bool ScreenPointOf(const CVector3& world, QPoint& point);
    // The same for the centre of surface.
    bool ScreenPointOf(int surface, QPoint& point);

    void SendMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
                   const QPoint& point);

    // doc saved in the archive form to a file of its own; its bytes.
    Bytes SavedBytes(CQzEditDoc& doc);

    // key with modifiers typed in view; waits until the view has painted again.
    static void KeyAndPaint(CQzEditView& view, Qt::Key key,
                            Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    CQzEditDoc* m_doc = nullptr;
    CQzEditView* m_view = nullptr;
};
