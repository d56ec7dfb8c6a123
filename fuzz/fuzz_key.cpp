// Fuzz target: a keyframe text through the reader, then posed onto a model whose nodes carry
// the names the key gives.

#include "engine/3doModel.h"
#include "engine/FileBuffer.h"
#include "framework/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFileBuffer buffer(std::span<const std::uint8_t>(data, size), "fuzz.key");
    std::unique_ptr<CKeyNodeList> list;
    try {
        list = C3doModel::ReadKey(buffer);
    } catch (const CArchiveException&) {
        return 0;
    }
    C3doModel model("fuzz.3do", "");
    for (std::size_t i = 0; i < list->m_nodes.size() && i < 4; ++i) {
        auto node = std::make_unique<C3doNode>();
        node->m_name = list->m_nodes[i].m_meshName;
        node->m_localMatrices.push_back(MatrixIdentity());
        model.m_nodes.push_back(std::move(node));
    }
    model.ApplyKey(*list);
    return 0;
}
