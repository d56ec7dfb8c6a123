#pragma once
// The vertex form (middle left in vertex mode): the current corner of a surface, with the
// position of its world vertex, its texture coordinates and its light intensities. Every update
// of the document's views fills the form from the records. Leaving a position field moves the
// vertex (or all marked corners) by the difference, as one undo step of its own; leaving a
// texture field writes u and v and rebuilds the current sector; leaving an intensity field
// relights the corner (with "CopyLight" on, every corner of the level on the same world vertex)
// and recolours the sectors concerned. Each spin arrow steps its field and applies it.

#include "app/FormView.h"
#include "edit/Nudge.h"

#include <array>

class CFieldExchange;
class CQzlSurface;
class CQzlVertex;
struct CWorldVertex;

class CVertexView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = PropertyView::kVertex;
    CVertexView(CQzEditDoc& doc, QWidget* parent);

    // Fill: the engine's current vertex; without one, corner -1 and the engine's current surface,
    // and the last picked grid node in the (disabled) position fields while the grid is on. The
    // position and texture fields are enabled while a corner is shown, "Intensity, Mono:" with
    // a corner in the base game only, the red, green and blue intensities in the expansion only.
    void OnUpdate(CDocView* sender, long hint) override;

    // Apply of u and v, of the four intensities, of one coordinate. Nothing is written when a
    // field does not read, when there is no current vertex, or when the form shows another corner
    // than the current one. True when the level changed.
    bool UpdateTexture();
    bool UpdateLight();
    bool MoveX();
    bool MoveY();
    bool MoveZ();

private:
    // The current vertex's records, each index checked; null members without one.
    struct CCorner {
        CQzlSurface* surface = nullptr;
        CQzlVertex* corner = nullptr;
        CWorldVertex* vertex = nullptr;
    };
    CCorner CurrentCorner() const;

    void DoDataExchange(CFieldExchange& exchange);
    void PushToControls();
    // Pulls the controls into the members; the corner the form may write, or none when a field
    // does not read or the form shows another corner than the current one. A field whose text
    // still shows the record's value takes the record's exact value, so that leaving it
    // unchanged changes nothing.
    CCorner ReadForm();
    // Moves the current vertex (and the other marked corners) by the difference between the
    // form's coordinate of axis and the world vertex's, inside an undo step. True when it moved.
    bool MoveAlong(EAxis axis);
    float FormCoordinate(EAxis axis) const;
    bool Move(EAxis axis);
    // The world vertex's position into the position fields: after a move they show where the
    // vertex went, or, when the move was refused, where it stays.
    void ShowPosition();
    // A spin arrow of field id sent delta: the field steps, then its apply runs.
    void OnSpin(int id, int delta);

    float& Member(int id);

    int m_surfaceIndex = -1;
    int m_cornerIndex = -1;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_u = 0.0f;
    float m_v = 0.0f;
    std::array<float, 4> m_intensity{};

    bool m_applying = false;  // an apply is running (its message box takes the focus)
};
