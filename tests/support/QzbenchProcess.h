#pragma once
// Runs the qzbench program as a process for the bench tests (their executable knows its path as
// QZ_QZBENCH).

#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/OpenedLevel.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// Runs qzbench with args (already quoted for the shell) after the environment assignments env
// ("LC_ALL=C", or empty); returns what it printed on both streams, with its exit status in status
// (-1 when it cannot be started).
#ifndef QZ_QZBENCH
#error "The bench tests run qzbench: their program is built with its path (QZ_QZBENCH)."
#endif

inline std::string RunQzbench(const std::string& env, const std::string& args, int& status)
{
    const std::string command = env + " '" + QZ_QZBENCH + "' " + args + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return {};
    }
    std::string output;
    char buffer[512];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int result = ::pclose(pipe);
    status = result >= 0 && WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
}

// Runs "qzbench apply IN OUT WORDS" in the C locale (words already quoted for the shell); its
// output, with the exit status in status.
inline std::string RunQzbenchApply(const std::filesystem::path& in,
                                   const std::filesystem::path& out, const std::string& words,
                                   int& status)
{
    return RunQzbench("LC_ALL=C", "apply '" + in.string() + "' '" + out.string() + "' " + words,
                      status);
}

// Success when "qzbench apply IN OUT WORDS" refuses: exit status 2, message in its output and
// OUT not written.
inline ::testing::AssertionResult ApplyRefuses(const std::filesystem::path& in,
                                               const std::filesystem::path& out,
                                               const std::string& words, const std::string& message)
{
    int status = -1;
    const std::string output = RunQzbenchApply(in, out, words, status);
    if (status != 2)
        return ::testing::AssertionFailure() << "exit status " << status << ": " << output;
    if (output.find(message) == std::string::npos)
        return ::testing::AssertionFailure() << "no \"" << message << "\" in: " << output;
    if (std::filesystem::exists(out))
        return ::testing::AssertionFailure() << out << " was written";
    return ::testing::AssertionSuccess();
}

// A bench test of qzbench apply on one input level: in.qze in a temporary folder of the test's
// own, the result written to out.qze beside it.
class QzbenchApplyFileTest : public ::testing::Test {
protected:
    explicit QzbenchApplyFileTest(const std::string& folder) : m_temp(folder) {}

    std::filesystem::path In() const { return m_temp / "in.qze"; }
    std::filesystem::path Out() const { return m_temp / "out.qze"; }
    // Stores level as the input.
    void SaveIn(CQzlSections& level) { SaveQzeFile(In(), level, CDocumentFields{}); }
    // Stores the fixture room of one box sector from lo to hi as the input; gives it.
    CQzlSections SaveBoxRoom(const CVector3& lo, const CVector3& hi)
    {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, lo, hi);
        FinishFixture(level);
        SaveIn(level);
        return level;
    }
    // The output of "qzbench apply in.qze out.qze words", with the exit status in status.
    std::string Run(const std::string& words, int& status) const
    {
        return RunQzbenchApply(In(), Out(), words, status);
    }
    // The bytes of out.qze after "apply in.qze out.qze words"; fails the test when it does not
    // succeed.
    std::vector<std::uint8_t> Apply(const std::string& words) const
    {
        int status = -1;
        const std::string output = Run(words, status);
        EXPECT_EQ(status, 0) << output;
        return ReadFileBytes(Out());
    }
    // The level in out.qze after a successful "apply in.qze out.qze words".
    CQzlSections Applied(const std::string& words) const
    {
        Apply(words);
        return LoadLevelFile(Out(), 0).m_contents.m_level;
    }

    // "apply words" writes a sound level of sectors sectors, and "apply undo words" the level as
    // it was opened.
    void ExpectBuildsAndUndoes(const std::string& words, std::size_t sectors) const
    {
        SCOPED_TRACE(words);
        int status = -1;
        std::string output = Run(words, status);
        ASSERT_EQ(status, 0) << output;
        const CQzlSections out = LoadLevelFile(Out(), 0).m_contents.m_level;
        EXPECT_TRUE(LevelIsSound(out));
        EXPECT_EQ(out.m_sectors.size(), sectors);
        output = Run("undo " + words, status);
        ASSERT_EQ(status, 0) << output;
        EXPECT_EQ(ReadFileBytes(Out()), OpenedLevelBytes(In()));
    }

    CTempFolder m_temp;
};
