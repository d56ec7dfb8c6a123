#pragma once
// Runs the qzbench program as a process for the bench tests (their executable knows its path as
// QZ_QZBENCH).

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

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
