#pragma once
// "Object Frames": the modeless window over a thing's path frames (positions with three angles,
// along which the game moves doors and elevators). It proposes a frame from the thing's model
// size, from the thing itself or from the 3D view's camera, shows a frame by placing the thing or
// the camera there, and plays the path back in the 3D view, one placement per tick of a timer at
// the chosen rate. Apply gives the path to the thing the window was opened for.
//
// The document holds at most one such window; picking in the 3D view is blocked while it is open.
// The window belongs to the things form that opened it and goes with it.

#include "engine/ObjectFramePath.h"
#include "level/WorldVertex.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

#include <QDialog>
#include <QTimer>

#include <cstddef>
#include <vector>

class C3dView;
struct CBoundingBox;
class CFieldExchange;
class CQzEditDoc;
class CQzlThing;
class CThingsView;
class QListWidget;

class CObjectFramesDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kId = 5000;

    // A window over frames (the things form's copy of the path of thing) for engine, beside
    // view.
    CObjectFramesDlg(std::vector<CWorldVertex> frames, int thing, C3dView& engine,
                     CThingsView& view);
    ~CObjectFramesDlg() override;

    // The window's own copy of the path, the frame its fields show (-1 none) and its thing.
    const std::vector<CWorldVertex>& Frames() const { return m_frames; }
    int SelectedFrame() const { return m_selected; }
    int Thing() const { return m_thing; }

    // A playback is running.
    bool Playing() const { return m_playing != EPlayback::none; }
    // The timer that paces a playback (interval 1000 / FPS milliseconds).
    const QTimer& PlaybackTimer() const { return m_timer; }
    // One tick of the playback: the next placement, or, after the last, the starting state put
    // back and the playback ended (false then).
    bool PlaybackStep();
    // Ends a running playback with the starting state put back.
    void EndPlayback();

    // OK: Apply, then the window goes; Cancel: the window goes.
    void accept() override;
    void reject() override;

private:
    enum class EPlayback {
        none,
        object,
        camera
    };

    void DoDataExchange(CFieldExchange& exchange);
    // The fields into the members; false, after the field's message, when one does not read.
    bool PullFields();
    void PushFields();
    // The shown frame's fields into it and the list's selected frame into the fields; false when
    // the fields do not read (the list then keeps the frame it showed).
    bool SelectionChange();
    // The list anew from the frames, the first selected.
    void Refill();
    void EnableFields();

    // The window's thing, null when it is no longer in the level; the engine while it is still
    // the document's.
    C3dView* Engine() const;
    CQzlThing* ThingRecord() const;
    // The thing has a model with a size; its box, computed when it is not yet (null without a
    // model).
    bool HasModel() const;
    const CBoundingBox* ModelBox() const;

    void OnAdd();
    void OnDelete();
    void OnCenter();
    // The thing's position with y raised (sign 1) or lowered (-1) by its model's height.
    void OnTopBottom(float sign);
    // The thing's position moved by its model's width to its left (sign -1) or right (1).
    void OnLeftRight(float sign);
    void OnCamera();
    void OnShowObject();
    void OnShowCamera();
    void OnPlayObject();
    void OnPlayCamera();
    bool OnApply();
    // The placements start: the first at once, the others on the timer.
    void StartPlayback(EPlayback kind, std::vector<CWorldVertex> placements);
    void Place(const CWorldVertex& placement);
    // Hidden, no longer the document's, deleted when the event loop turns.
    void Destroy();

    CQzEditDoc& m_doc;
    CThingsView& m_view;
    C3dView* m_engine;
    int m_thing;
    std::vector<CWorldVertex> m_frames;
    int m_selected = -1;

    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_pitch = 0.0f;
    float m_yaw = 0.0f;
    float m_roll = 0.0f;
    float m_fps = 20.0f;

    QListWidget* m_list = nullptr;
    bool m_pulling = false;  // a pull is running (its message box takes the focus)

    // Playback.
    QTimer m_timer;
    EPlayback m_playing = EPlayback::none;
    std::vector<CWorldVertex> m_placements;
    std::size_t m_next = 0;
    CVector3 m_savedPosition;
    CFrameAngles m_savedAngles;
    D3DMATRIX m_savedViewMatrix;
    CVector3 m_savedCamera;
    CVector3 m_savedForward;
    CVector3 m_savedUp;
};
