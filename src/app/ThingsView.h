#pragma once
// The things form (middle left in thing mode): the engine's current thing. Every update of the
// document's views fills the form from the thing record; leaving a field, or OK in a dialog
// opened by one of the form's buttons, writes the form back into the record (no undo step: form
// edits are not undoable), makes the thing's model anew, marks the document modified and updates
// the other views. The spin arrows beside the position and the angles nudge the thing at once.
// "Object Frames:" opens the document's one Object Frames window on the thing's path.

#include "app/FormView.h"
#include "level/WorldVertex.h"

#include <cstdint>
#include <string>
#include <vector>

class CFieldExchange;

class CThingsView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = PropertyView::kThings;
    CThingsView(CQzEditDoc& doc, QWidget* parent);

    // Fill: the current thing of the document's engine with a copy of its path frames, or index
    // -1 (the other fields keep what they showed) without one; the fields of a thing enabled
    // only while there is one.
    void OnUpdate(CDocView* sender, long hint) override;

    // Apply: the form into the engine's current thing; its path moves with it, its model is made
    // anew when the game's archive is open. Nothing is written when a field does not read (an
    // angle outside -180..180 and a sector that is not the level's are refused with the range
    // message), when there is no engine or no current thing, or when the form shows another
    // thing than the current one. True when the record was written; the document is then
    // modified.
    bool UpdateThing();

    // The Object Frames window's Apply: the form filled again from the current thing, the path
    // replaced by frames, then the apply.
    bool ApplyFrames(const std::vector<CWorldVertex>& frames);

    // One step of a spin arrow (spin one of the six spin ids, delta as the arrow sends it): a
    // coordinate moves by 0.01 x delta, an angle by delta degrees while it stays within
    // -180..180; then the six values are rounded to 0.01, shown, and the thing, its path and its
    // model are placed there at once.
    void OnSpin(int spin, int delta);

    int ThingIndex() const { return m_thingIndex; }

private:
    void DoDataExchange(CFieldExchange& exchange);
    void PushToControls();
    // The form shows a thing of the level and it is the engine's current one.
    bool ShowsCurrentThing() const;

    void OnTemplate();
    void OnObjectFlags();
    void OnObjectFrames();

    int m_thingIndex = -1;
    float m_pitch = 0.0f;
    float m_roll = 0.0f;
    int m_sector = 0;
    std::string m_template;
    float m_x = 0.0f;
    float m_yaw = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    std::uint32_t m_flags = 0;
    int m_frameCount = 0;
    // The thing's path as the last fill found it.
    std::vector<CWorldVertex> m_frames;

    bool m_applying = false;  // an apply is running (its message box takes the focus)
};
