// The levels and the settings that bench/run.sh times: the text level of boxes with their own
// vertices reads back whole, and the neighbour walk takes its depth from the command line.

#include "support/QzbenchProcess.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class QzbenchBenchLevelsTest : public QzbenchApplyFileTest {
protected:
    QzbenchBenchLevelsTest() : QzbenchApplyFileTest("qz_bench_levels") {}
};

TEST_F(QzbenchBenchLevelsTest, BoxesOfTheirOwnVerticesAndTheWalkDepth)
{
    const std::string boxes = (m_temp / "boxes.qzl").string();
    int status = -1;
    EXPECT_NE(RunQzbench("", "generate-boxes 12 '" + boxes + "'", status).find("vertices=96 "),
              std::string::npos);
    EXPECT_EQ(status, 0);
    const std::string read = RunQzbench("", "read '" + boxes + "'", status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(read.find("sectors=12 surfaces=72 "), std::string::npos) << read;
    EXPECT_NE(read.find("vertices=96 "), std::string::npos) << read;

    // The walk's depth, and the words it refuses.
    for (const auto& [words, expected] :
         {std::pair<std::string, int>{" 0 100", 0}, {" 0 0", 1}, {" 0 x", 1}, {" 0 101", 1}}) {
        SCOPED_TRACE(words);
        const std::string out = RunQzbench("", "visibility '" + boxes + "'" + words, status);
        EXPECT_EQ(status, expected) << out;
        if (expected == 0) {
            EXPECT_NE(out.find("method=0 visible_total="), std::string::npos) << out;
        }
    }
}

}  // namespace
