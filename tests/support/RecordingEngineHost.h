#pragma once
// An engine host for tests: records every call in order and answers Yes/No questions from a
// script (then with a default answer once the script is used up), and the pickers from scripts of
// their own (Cancel once a script is used up).

#include "engine/C3dView.h"
#include "engine/EngineHost.h"

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct CSettings;

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
        RequestFrame,
        SetStatusPanes,
        SetScrollBars,
        SetGridSetting,
        SwitchPropertyView,
        UpdateAllViews,
        PickMaterial,
        PickTemplate,
        PickColorMap,
        PickSound
    };

    // One call: its kind, its text (message, question, title, status text, a picker's initial
    // name) and its number (progress steps, modified flag, forced flag, the answer given to a
    // question, the property view id, the update hint, a picker's mode).
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
    void SetStatusPanes(std::span<const std::string> texts) override;
    void SetScrollBars(int low, int high, int page, int horizontalPosition,
                       int verticalPosition) override;
    void SetGridSetting(float grid) override;
    void SwitchPropertyView(int id) override;
    void UpdateAllViews(long hint) override;
    std::optional<CMaterialChoice> PickMaterial(std::string_view initial, int mode) override;
    std::optional<CTemplateChoice> PickTemplate(std::string_view initial, int mode) override;
    std::optional<std::string> PickColorMap(std::string_view initial, int mode) override;
    std::optional<std::string> PickSound(std::string_view initial, int mode) override;

    // Answers for the next questions, in order.
    void ScriptAnswers(std::initializer_list<bool> answers);

    // Calls of one kind, and the texts of the messages and questions.
    std::size_t Count(ECall kind) const;
    std::vector<std::string> Messages() const;
    std::vector<std::string> Questions() const;
    // The numbers of the calls of one kind, in order (e.g. the hints of UpdateAllViews).
    std::vector<int> Numbers(ECall kind) const;
    void Clear() { m_calls.clear(); }

    std::vector<CCall> m_calls;
    // The pane texts of the last SetStatusPanes (the call's text holds them joined by '|').
    std::vector<std::string> m_statusPanes;
    // The arguments of the last SetScrollBars.
    struct CScrollBars {
        int low = 0;
        int high = 0;
        int page = 0;
        int horizontalPosition = 0;
        int verticalPosition = 0;
    } m_scrollBars;
    // The grid of the last SetGridSetting; it is also stored in *m_settings when that is set.
    float m_gridSetting = 0.0f;
    CSettings* m_settings = nullptr;
    std::deque<bool> m_answers;
    bool m_defaultAnswer = true;  // once m_answers is empty
    // The answers of the pickers, in order: a choice, or nothing for Cancel.
    std::deque<std::optional<CMaterialChoice>> m_materialChoices;
    std::deque<std::optional<CTemplateChoice>> m_templateChoices;
    std::deque<std::optional<std::string>> m_colorMapChoices;
    std::deque<std::optional<std::string>> m_soundChoices;
};

// A recording host that also notes the engine's camera-jump (camera-placed) flag at each frame it
// is asked for; m_view is the engine to watch.
class CFrameWatchHost : public CRecordingEngineHost {
public:
    void RequestFrame(bool forced) override
    {
        m_jumpAtFrame.push_back(m_view != nullptr ? m_view->m_camera.m_jump : -1);
        CRecordingEngineHost::RequestFrame(forced);
    }

    const C3dView* m_view = nullptr;
    std::vector<int> m_jumpAtFrame;
};
