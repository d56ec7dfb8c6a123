// qzbench opens level files with damaged indices as the editor does: check reports the damage of
// each, in both forms and products, and a file without geometry to show is refused with the
// loader's message.

#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/QzeFile.h"
#include "level/QzlWriter.h"
#include "support/DamagedLevels.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

// The finding that each opened entry gives. A thing's sector is not here: the rebuild of a loaded
// level (before the check) places every thing in the sector it stands in.
const std::map<std::string, std::vector<std::string>> kFindings = {
    {"mirror-none", {"Adjoin 0 does not mirror Adjoin -1"}},
    {"mirror-beyond", {"Adjoin 1 does not mirror Adjoin 7"}},
    {"mirror-negative", {"Adjoin 1 does not mirror Adjoin -9"}},
    {"mirror-not-back", {"Adjoin 1 does not mirror Adjoin 0"}},
    {"surface-adjoin-beyond", {"is illegal linked"}},
    {"material-beyond", {"In Sector 1, Surface 6, an illegal Material (number 9)"}},
    {"material-negative", {"In Sector 0, Surface 1, an illegal Material (number -5)"}},
    {"colormap-beyond", {"In Sector 0, an illegal Color Map (number 4)"}},
    {"colormap-negative", {"In Sector 1, an illegal Color Map (number -3)"}},
    {"sound-beyond", {"In Sector 1, an illegal Sound (number 7)"}},
    {"sound-negative", {"In Sector 0, an illegal Sound (number -4)"}},
    {"all-opened-at-once",
     {"Adjoin 1 does not mirror Adjoin 7", "an illegal Material (number 9)",
      "an illegal Color Map (number 4)", "an illegal Sound (number 7)"}},
};

struct CForm {
    bool text;
    int product;
};
constexpr CForm kForms[] = {{false, 0}, {false, 1}, {true, 0}, {true, 1}};

std::string Quoted(const std::filesystem::path& path)
{
    return "'" + path.string() + "'";
}

}  // namespace

TEST(QzbenchCheckDamaged, ReportsTheDamageOfEachFileItOpens)
{
    const CTempFolder temp("qz_bench_check_damaged");
    for (const CDamagedLevel& damage : DamagedLevels()) {
        for (const CForm& form : kForms) {
            // The text form names a sector's sound and cannot hold one outside the list.
            const std::string name = damage.m_name;
            if (form.text && name.starts_with("sound-"))
                continue;
            SCOPED_TRACE(name + (form.text ? ".qzl" : ".qze") + ", product " +
                         std::to_string(form.product));
            CQzlSections level = MakeDamagedLevel(damage);
            std::filesystem::path path = temp / (name + (form.text ? ".qzl" : ".qze"));
            if (form.text) {
                if (!damage.m_opens && level.m_sectors[0]->m_surfaces.back() == 99)
                    continue;  // the text writer refuses it (the loader test makes that text)
                SaveQzlFile(path, level, CGameResources{}, form.product);
            } else {
                SaveQzeFile(path, level, CDocumentFields{});
            }
            int status = -1;
            const std::string output = RunQzbench(
                "LC_ALL=C",
                std::string("check ") + (form.product == 1 ? "--varnok " : "") + Quoted(path),
                status);
            if (!damage.m_opens) {
                EXPECT_NE(status, 0) << output;
                EXPECT_NE(output.find("The level is damaged: "), std::string::npos) << output;
                continue;
            }
            EXPECT_EQ(status, 0) << output;
            const auto it = kFindings.find(name);
            if (it == kFindings.end()) {
                EXPECT_TRUE(name.starts_with("thing-sector-")) << name << " has no finding listed";
                continue;
            }
            for (const std::string& finding : it->second) {
                if (!form.text || finding.find("Sound") == std::string::npos) {
                    EXPECT_NE(output.find(finding), std::string::npos) << finding << " in:\n"
                                                                       << output;
                }
            }
        }
    }
}
