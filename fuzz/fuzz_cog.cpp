// Fuzz target: a cog script, read for its symbols as the cog dialogs and the level's cogs read it.

#include "level/CogSymbols.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> script(data, size);
    const std::vector<CCogSymbol> symbols = ReadCogSymbolSection(script);
    for (const CCogSymbol& symbol : symbols)
        (void)symbol.GetLabel();
    std::vector<std::string> labels;
    std::vector<std::string> defaults;
    std::vector<std::string> types;
    ParseCogSymbols(script, labels, defaults, types);
    // One label, default and type word for each symbol that takes a value.
    if (labels.size() != defaults.size() || labels.size() != types.size())
        std::abort();
    return 0;
}
