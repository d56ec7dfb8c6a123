#include "support/RecordingEngineHost.h"

#include "framework/Settings.h"

#include <algorithm>

void CRecordingEngineHost::ShowMessage(std::string_view text)
{
    m_calls.push_back({ECall::ShowMessage, std::string(text), 0});
}

bool CRecordingEngineHost::AskYesNo(std::string_view text)
{
    bool answer = m_defaultAnswer;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    m_calls.push_back({ECall::AskYesNo, std::string(text), answer ? 1 : 0});
    return answer;
}

void CRecordingEngineHost::BeginWaitCursor()
{
    m_calls.push_back({ECall::BeginWaitCursor, {}, 0});
}

void CRecordingEngineHost::EndWaitCursor()
{
    m_calls.push_back({ECall::EndWaitCursor, {}, 0});
}

void CRecordingEngineHost::BeginProgress(std::string_view title, int steps)
{
    m_calls.push_back({ECall::BeginProgress, std::string(title), steps});
}

void CRecordingEngineHost::StepProgress()
{
    m_calls.push_back({ECall::StepProgress, {}, 0});
}

void CRecordingEngineHost::EndProgress()
{
    m_calls.push_back({ECall::EndProgress, {}, 0});
}

void CRecordingEngineHost::SetStatusText(std::string_view text)
{
    m_calls.push_back({ECall::SetStatusText, std::string(text), 0});
}

void CRecordingEngineHost::ViewsChanged()
{
    m_calls.push_back({ECall::ViewsChanged, {}, 0});
}

void CRecordingEngineHost::SetModifiedFlag(bool modified)
{
    m_calls.push_back({ECall::SetModifiedFlag, {}, modified ? 1 : 0});
}

void CRecordingEngineHost::RequestFrame(bool forced)
{
    m_calls.push_back({ECall::RequestFrame, {}, forced ? 1 : 0});
}

void CRecordingEngineHost::SetStatusPanes(std::span<const std::string> texts)
{
    m_statusPanes.assign(texts.begin(), texts.end());
    std::string joined;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0)
            joined += '|';
        joined += texts[i];
    }
    m_calls.push_back({ECall::SetStatusPanes, std::move(joined), static_cast<int>(texts.size())});
}

void CRecordingEngineHost::SetScrollBars(int low, int high, int page, int horizontalPosition,
                                         int verticalPosition)
{
    m_scrollBars = {low, high, page, horizontalPosition, verticalPosition};
    m_calls.push_back({ECall::SetScrollBars, {}, page});
}

void CRecordingEngineHost::SetGridSetting(float grid)
{
    m_gridSetting = grid;
    if (m_settings != nullptr)
        m_settings->m_grid = grid;
    m_calls.push_back({ECall::SetGridSetting, {}, 0});
}

void CRecordingEngineHost::SwitchPropertyView(int id)
{
    m_calls.push_back({ECall::SwitchPropertyView, {}, id});
}

void CRecordingEngineHost::UpdateAllViews(long hint)
{
    m_calls.push_back({ECall::UpdateAllViews, {}, static_cast<int>(hint)});
}

namespace {

// The next scripted answer of a picker (Cancel when none is left).
template <class T>
std::optional<T> NextChoice(std::deque<std::optional<T>>& script)
{
    if (script.empty())
        return std::nullopt;
    std::optional<T> choice = std::move(script.front());
    script.pop_front();
    return choice;
}

}  // namespace

std::optional<CMaterialChoice> CRecordingEngineHost::PickMaterial(std::string_view initial,
                                                                  int mode)
{
    m_calls.push_back({ECall::PickMaterial, std::string(initial), mode});
    return NextChoice(m_materialChoices);
}

std::optional<CTemplateChoice> CRecordingEngineHost::PickTemplate(std::string_view initial,
                                                                  int mode)
{
    m_calls.push_back({ECall::PickTemplate, std::string(initial), mode});
    return NextChoice(m_templateChoices);
}

std::optional<std::string> CRecordingEngineHost::PickColorMap(std::string_view initial, int mode)
{
    m_calls.push_back({ECall::PickColorMap, std::string(initial), mode});
    return NextChoice(m_colorMapChoices);
}

std::optional<std::string> CRecordingEngineHost::PickSound(std::string_view initial, int mode)
{
    m_calls.push_back({ECall::PickSound, std::string(initial), mode});
    return NextChoice(m_soundChoices);
}

void CRecordingEngineHost::ScriptAnswers(std::initializer_list<bool> answers)
{
    m_answers.insert(m_answers.end(), answers.begin(), answers.end());
}

std::size_t CRecordingEngineHost::Count(ECall kind) const
{
    return static_cast<std::size_t>(std::count_if(
        m_calls.begin(), m_calls.end(), [kind](const CCall& c) { return c.kind == kind; }));
}

std::vector<std::string> CRecordingEngineHost::Messages() const
{
    std::vector<std::string> out;
    for (const auto& c : m_calls) {
        if (c.kind == ECall::ShowMessage) {
            out.push_back(c.text);
        }
    }
    return out;
}

std::vector<std::string> CRecordingEngineHost::Questions() const
{
    std::vector<std::string> out;
    for (const auto& c : m_calls) {
        if (c.kind == ECall::AskYesNo) {
            out.push_back(c.text);
        }
    }
    return out;
}

std::vector<int> CRecordingEngineHost::Numbers(ECall kind) const
{
    std::vector<int> out;
    for (const auto& c : m_calls) {
        if (c.kind == kind) {
            out.push_back(c.number);
        }
    }
    return out;
}
