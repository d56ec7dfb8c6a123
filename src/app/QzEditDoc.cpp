#include "app/QzEditDoc.h"

#include "app/DocView.h"
#include "app/QzEditApp.h"

#include <algorithm>

class CQzEditDoc::CProgress {};

const char* const CQzEditDoc::kDefaultMessageText = "";

CQzEditDoc::CQzEditDoc(CQzEditApp& app) : m_app(app), m_level(std::make_unique<CQzlSections>()) {}
CQzEditDoc::~CQzEditDoc() = default;

bool CQzEditDoc::OnNewDocument() { return true; }
bool CQzEditDoc::OnOpenDocument(const QString&) { return false; }
bool CQzEditDoc::OnSaveDocument(const QString&) { return false; }
bool CQzEditDoc::DoFileSave() { return false; }
void CQzEditDoc::OnFileSaveAs() {}
bool CQzEditDoc::SaveAs(const QString&) { return false; }
QString CQzEditDoc::MakeAutosavePath() const { return QStringLiteral("tmp"); }
bool CQzEditDoc::SaveAutosave() { return false; }
bool CQzEditDoc::OnCloseDocument() { return true; }
bool CQzEditDoc::SaveModified() { return true; }
void CQzEditDoc::SetPathName(const QString& path, bool) { m_pathName = path; }
void CQzEditDoc::SetTitle(const QString& title) { m_title = title; }
void CQzEditDoc::SetModifiedFlag(bool modified) { m_modified = modified; }
void CQzEditDoc::AddView(CDocView* view) { m_views.push_back(view); }
void CQzEditDoc::RemoveView(CDocView* view) { std::erase(m_views, view); }
void CQzEditDoc::UpdateAllViews(CDocView* sender, long hint)
{
    const std::vector<CDocView*> views = m_views;  // a view may go while it updates
    for (CDocView* view : views)
        if (view != sender)
            view->OnUpdate(sender, hint);
}
void CQzEditDoc::ShowMessage(std::string_view) {}
bool CQzEditDoc::AskYesNo(std::string_view) { return false; }
void CQzEditDoc::BeginWaitCursor() {}
void CQzEditDoc::EndWaitCursor() {}
void CQzEditDoc::BeginProgress(std::string_view, int) {}
void CQzEditDoc::StepProgress() {}
void CQzEditDoc::EndProgress() {}
void CQzEditDoc::SetStatusText(std::string_view) {}
void CQzEditDoc::SetStatusPanes(std::span<const std::string>) {}
void CQzEditDoc::SetScrollBars(int, int, int, int, int) {}
void CQzEditDoc::SetGridSetting(float) {}
void CQzEditDoc::ViewsChanged() { UpdateAllViews(nullptr); }
void CQzEditDoc::RequestFrame(bool) {}
void CQzEditDoc::RegisterCommands() {}
