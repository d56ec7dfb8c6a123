#include "resources/ProductSetup.h"

const char* CProductSetup::Caption(int product)
{
    switch (product) {
    case 0: return "QzEdit - Korvath mode";
    case 1: return "QzEdit - Varnok mode";
    default: return nullptr;
    }
}

std::string CProductSetup::Run(int, const std::filesystem::path&, const std::filesystem::path&,
                               const std::filesystem::path&)
{
    return {};
}
