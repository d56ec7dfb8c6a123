// Fuzz target: a 3DO model text through the reader, then the bounds and drawing walks over
// whatever hierarchy it gave, onto the tests' recording device, which must see no misuse.

#include "engine/3doModel.h"
#include "engine/FileBuffer.h"
#include "framework/Exceptions.h"
#include "support/RecordingRenderDevice.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    C3doModel model("fuzz.3do", "");
    CFileBuffer buffer(std::span<const std::uint8_t>(data, size), "fuzz.3do");
    try {
        model.Read3do({}, buffer);
    } catch (const CArchiveException&) {
        return 0;
    }
    CBoundingBox box{{1e11f, 1e11f, 1e11f}, {-1e11f, -1e11f, -1e11f}};
    model.NodeBounds(0, box, MatrixIdentity());
    CRecordingRenderDevice device;
    model.DrawNode(device, 0.0f, 0.0f, 0.0f, 0, MatrixIdentity());
    if (device.m_misuseCount != 0)
        std::abort();
    return 0;
}
