// Fuzz target: a puppet text found through a level's template, naming the keyframe file that
// poses the model.

#include "engine/3doModel.h"
#include "level/QzlSections.h"
#include "resources/TreeObject.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kKey[] = "SECTION: HEADER\r\nFLAGS 0x0\r\nTYPE 0x0\r\nFRAMES 4\r\nFPS 8\r\nJOINTS 1\r\n"
                    "SECTION: KEYFRAME NODES\r\nNODES 1\r\nNODE 0\r\nMESH NAME torso\r\n"
                    "ENTRIES 1\r\n0: 0 0x0 0 0 0 0 0 0\r\n0 0 0 0 10 0\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CQzlSections level = [] {
        CQzlSections l;
        auto t = std::make_unique<CQzlTemplate>();
        t->m_name = "walker";
        t->m_params = "model3d=fuzz.3do puppet=fuzz.pup";
        t->m_model = "fuzz.3do";
        l.m_templates.push_back(std::move(t));
        const std::string key = kKey;
        for (const char* name : {"a.key", "fuzz.pup", "walk.key"})
            l.m_levelFiles.m_entries.push_back(std::make_unique<CTreeObject>(
                name, std::vector<std::uint8_t>(key.begin(), key.end()), 0));
        return l;
    }();
    level.m_levelFiles.m_entries[1]->m_data = std::vector<std::uint8_t>(data, data + size);

    C3doModel model("fuzz.3do", "");
    auto node = std::make_unique<C3doNode>();
    node->m_name = "torso";
    model.m_nodes.push_back(std::move(node));
    C3doLoadContext context;
    context.m_level = &level;
    model.PoseFromPuppet(context);
    return 0;
}
