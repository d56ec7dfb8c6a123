#pragma once
// One placed object: template, name, position and orientation, sector, flags, velocity, path
// frames and AI class, plus the run-time fields the 3D view keeps with it.

#include "framework/Object.h"
#include "level/WorldVertex.h"
#include "math/Vector3.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class C3doModel;  // the 3D view's model of the thing

class CQzlThing : public CObject {
    QZ_DECLARE_SERIAL(CQzlThing)

public:
    void Serialize(CArchive& ar) override;

    std::string m_template;
    std::string m_name;
    CVector3 m_position;
    float m_pitch = 0.0f;  // degrees
    float m_yaw = 0.0f;
    float m_roll = 0.0f;
    std::int32_t m_sector = 0;
    std::int32_t m_spareIndex = -1;
    std::uint32_t m_thingFlags = 0;
    CVector3 m_velocity;
    std::vector<CWorldVertex> m_frames;  // x, y, z, then pitch, yaw, roll in extra[0..2]
    std::string m_aiClass;

    // Run-time fields of the 3D view; never stored.
    C3doModel* m_model = nullptr;   // not owned
    std::int32_t m_modelReady = 0;  // 1 once the model has been made
    // Walk mode: the spin flag (1: the model turns by its step rotation every frame), the move
    // speed and sleep time (seconds) a cog gives a mover, its partner thing (-1 none), its start,
    // move and stop sounds, and the four sound states of its cycle (opening sounds started,
    // arrival sound played, closing sounds started, close sound played).
    std::int32_t m_runtimeWord = 0;
    float m_runtimeFloat[2] = {8.0f, 2.0f};
    std::int32_t m_runtimeIndex = -1;
    std::string m_runtimeText[3];
    std::uint32_t m_runtimeDWord[4] = {};
};

// A new thing with source's stored fields (template, name, position, orientation, sector, spare
// index, flags, velocity, frames and AI class) and the run-time fields of a new thing.
std::unique_ptr<CQzlThing> CopyStoredThing(const CQzlThing& source);
