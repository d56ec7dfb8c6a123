#pragma once
// An engine host for tests: records every call in order and answers Yes/No questions from a
// script (then with a default answer once the script is used up).

#include "engine/EngineHost.h"

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

class CRecordingEngineHost : public CEngineHost {
public:
    enum class ECall {
        ShowMessage,
        AskYesNo,
        BeginWaitCursor,
        EndWaitCursor,
        BeginProgress,
        StepProgress,
        EndProgress,
        SetStatusText,
        ViewsChanged,
        SetModifiedFlag,
        RequestFrame
    };

    // One call: its kind, its text (message, question, title, status text) and its number
    // (progress steps, modified flag, forced flag, the answer given to a question).
    struct CCall {
        ECall kind;
        std::string text;
        int number = 0;
    };

    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void BeginProgress(std::string_view title, int steps) override;
    void StepProgress() override;
    void EndProgress() override;
    void SetStatusText(std::string_view text) override;
    void ViewsChanged() override;
    void SetModifiedFlag(bool modified) override;
    void RequestFrame(bool forced) override;

    // Answers for the next questions, in order.
    void ScriptAnswers(std::initializer_list<bool> answers);

    // Calls of one kind, and the texts of the messages and questions.
    std::size_t Count(ECall kind) const;
    std::vector<std::string> Messages() const;
    std::vector<std::string> Questions() const;
    void Clear() { m_calls.clear(); }

    std::vector<CCall> m_calls;
    std::deque<bool> m_answers;
    bool m_defaultAnswer = true;  // once m_answers is empty
};
