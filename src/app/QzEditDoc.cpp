#include "app/QzEditDoc.h"

#include "app/ChildFrame.h"
#include "app/ColorsPage.h"
#include "app/ConfigurationPage.h"
#include "app/DocView.h"
#include "app/FindItemDlg.h"
#include "app/GeneralPage.h"
#include "app/HeaderDlg.h"
#include "app/MainFrame.h"
#include "app/ObjectFramesDlg.h"
#include "app/ParsingSectorsDlg.h"
#include "app/QzEditApp.h"
#include "app/QzEditView.h"
#include "app/StatisticsDlg.h"
#include "edit/Merge.h"
#include "edit/SplitByPolygon.h"
#include "edit/ui/MergeDlg.h"
#include "edit/ui/SplitByPolygonDlg.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/FindItem.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "engine/ViewCommands.h"
#include "engine/ui/HiddenSectorRemovalDlg.h"
#include "episode/StartGoalsCogs.h"
#include "framework/Exceptions.h"
#include "geometry/SectorBounds.h"
#include "level/LevelFile.h"
#include "level/LevelValidator.h"
#include "level/QzlWriter.h"
#include "level/ResourceLists.h"
#include "resources/ui/EditorDlg.h"
#include "tools/CreateDoor.h"
#include "tools/CreateElevator.h"
#include "tools/CreateMenu.h"
#include "tools/DocumentTools.h"
#include "tools/SectorLibrary.h"
#include "tools/ShapeCommands.h"
#include "tools/ui/CreateCylinderDlg.h"
#include "tools/ui/CreateDoorDlg.h"
#include "tools/ui/CreateElevatorDlg.h"
#include "tools/ui/CreateRectangleDlg.h"
#include "tools/ui/LibraryDeleteDlg.h"
#include "tools/ui/LibraryLoadDlg.h"
#include "tools/ui/LibraryRenameDlg.h"
#include "tools/ui/LibrarySaveDlg.h"
#include "ui/DialogIds.h"
#include "ui/SheetDlg.h"
#include "ui/UiServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// The values of a Create dialog that shows models, made under the wait cursor (it reads the first
// model); none for Cancel. The dialog, with its preview, is gone on return.
template <class Dialog>
auto AskModelDialog(C3dView& engine, QWidget* parent)
    -> std::optional<std::decay_t<decltype(std::declval<Dialog&>().Params())>>
{
    std::unique_ptr<Dialog> dialog;
    {
        const CWaitCursor wait;
        dialog = std::make_unique<Dialog>(engine, parent);
    }
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog->Params();
}

const QString kLibraryFilter = QStringLiteral("QZE Files (*.qze)|*.qze|");

// The Save As filter: the archive of the product that is set.
QString SaveAsFilter(int product)
{
    return QStringLiteral("QzEdit Files (*.qze)|*.qze|QzEdit Project Files (*.qzp)|*.qzp|"
                          "Korvath/Varnok Level Files (*.qzl)|*.qzl|") +
           (product != 0 ? QStringLiteral("GOO Files (*.goo)|*.goo|")
                         : QStringLiteral("GOB Files (*.gob)|*.gob|")) +
           QStringLiteral("|");
}

std::filesystem::path HostPath(const QString& path)
{
    return std::filesystem::path(path.toStdString());
}

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The message of a failed read or write of path: a file-system failure names the file itself;
// for a fault of the content the file is named above the reason.

// A title made fit to be a file name.
QString FileNameOf(QString title)
{
    static const QString kBad = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : title)
        if (kBad.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    title = title.trimmed();
    if (title.isEmpty() || title == QLatin1String(".") || title == QLatin1String(".."))
        return QStringLiteral("QzEdit");
    return title;
}

}  // namespace

// The "Hidden Sector Removal" dialog of a document: its OK runs the visibility pass and draws a
// frame on the engine's device, so the 3D view's OpenGL context is made current for it.
class CDocumentHsrDlg final : public CHiddenSectorRemovalDlg {
public:
    CDocumentHsrDlg(CSettings& settings, C3dView* engine, CQzEditView* view, QWidget* parent)
        : CHiddenSectorRemovalDlg(settings, engine, parent), m_view(view)
    {}

    void accept() override
    {
        const CQzEditView::CDeviceScope scope(m_view.data());
        CHiddenSectorRemovalDlg::accept();
    }

private:
    QPointer<CQzEditView> m_view;
};

// The "Split by Polygon" dialog of a document: View and OK draw the polygon's corners on the
// engine's device, so the 3D view's OpenGL context is made current for it.
class CDocumentSplitByPolygonDlg final : public CSplitByPolygonDlg {
public:
    CDocumentSplitByPolygonDlg(C3dView& engine, CQzEditView* view, QWidget* parent)
        : CSplitByPolygonDlg(engine, parent), m_view(view)
    {}

protected:
    void ShowCorners(const std::vector<CVector3>& corners) override
    {
        const CQzEditView::CDeviceScope scope(m_view.data());
        CSplitByPolygonDlg::ShowCorners(corners);
    }

private:
    QPointer<CQzEditView> m_view;
};

// A footprint dialog of a document (Create Rectangle, Create Cylinder/Pyramid): View, OK and
// Cancel rebuild the point markers and draw a frame on the engine's device, so the 3D view's
// OpenGL context is made current for them.
template <class TDialog>
class CDocumentShapeDlg final : public TDialog {
public:
    template <class... TArgs>
    explicit CDocumentShapeDlg(CQzEditView* view, TArgs&&... args)
        : TDialog(std::forward<TArgs>(args)...), m_view(view)
    {}

protected:
    void OnDevice(const std::function<void()>& work) override
    {
        const CQzEditView::CDeviceScope scope(m_view.data());
        TDialog::OnDevice(work);
    }

private:
    QPointer<CQzEditView> m_view;
};

// The progress window of a long pass of the engine. It belongs to the 3D view (or the main
// frame) when there is one; without either it is a window of its own.
class CQzEditDoc::CProgress {
public:
    CProgress(QWidget* parent, const QString& title, int steps)
    {
        if (parent != nullptr) {
            m_dialog = new CParsingSectorsDlg(parent);
        } else {
            m_owned = std::make_unique<CParsingSectorsDlg>();
            m_dialog = m_owned.get();
        }
        m_dialog->Create(parent, steps);
        if (!title.isEmpty())
            m_dialog->setWindowTitle(title);
    }
    ~CProgress()
    {
        if (m_dialog.isNull())
            return;
        m_dialog->close();
        if (!m_owned)
            delete m_dialog.data();
    }
    CProgress(const CProgress&) = delete;
    CProgress& operator=(const CProgress&) = delete;

    void Step()
    {
        if (!m_dialog.isNull())
            m_dialog->StepIt();
    }
    void SetTitle(const QString& title)
    {
        if (!m_dialog.isNull())
            m_dialog->setWindowTitle(title);
    }

private:
    std::unique_ptr<CParsingSectorsDlg> m_owned;
    QPointer<CParsingSectorsDlg> m_dialog;
};

const char* const CQzEditDoc::kDefaultMessageText = ::kDefaultMessageText;

CQzEditDoc::CQzEditDoc(CQzEditApp& app)
    : m_app(app), m_fields(DefaultDocumentFields()), m_level(std::make_unique<CQzlSections>())
{
    m_state.m_renderMode = app.m_settings.m_renderMode;
    m_state.m_lightMode = app.m_settings.m_lightMode;
    RegisterCommands();
}

CQzEditDoc::~CQzEditDoc()
{
    delete ObjectFramesWindow();
    delete m_cogsInLevel.data();
    delete m_errors.data();
}

CObjectFramesDlg* CQzEditDoc::ObjectFramesWindow() const
{
    // Only a whole window is held: one being destroyed has left already.
    return static_cast<CObjectFramesDlg*>(m_objectFrames.data());
}

void CQzEditDoc::SetObjectFramesWindow(CObjectFramesDlg* window)
{
    CObjectFramesDlg* const before = ObjectFramesWindow();
    QObject* const held = window;
    m_objectFrames = held;
    m_state.m_objectFramesOpen = window != nullptr ? 1 : 0;
    if (window != nullptr)
        // A window destroyed with its parent leaves no document holding it.
        connect(window, &QObject::destroyed, this, [this, held] {
            if (m_objectFrames.isNull() || m_objectFrames.data() == held) {
                m_objectFrames.clear();
                m_state.m_objectFramesOpen = 0;
            }
        });
    if (before != window)
        delete before;
}

void CQzEditDoc::ObjectFramesWindowClosing(const CObjectFramesDlg* window)
{
    if (window != nullptr && ObjectFramesWindow() == window) {
        m_objectFrames.clear();
        m_state.m_objectFramesOpen = 0;
    }
}

// ---- Files ----

QString CQzEditDoc::FailureText(const char* verb, const QString& path, const std::exception& e)
{
    if (dynamic_cast<const CFileException*>(&e) != nullptr)
        return Text(e.what());
    return QStringLiteral("Cannot %1 \"%2\".\n\n%3")
        .arg(QLatin1String(verb), QDir::toNativeSeparators(path), Text(e.what()));
}

CQzEditDoc::EFileType CQzEditDoc::FileType(const QString& path)
{
    // The extension of the file's name only: "x.qzl.bak" is not written as a text level, nor is
    // a file in a folder named "levels.qzl".
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("qzl"))
        return EFileType::textLevel;
    if (suffix == QLatin1String("gob"))
        return EFileType::baseArchive;
    if (suffix == QLatin1String("goo"))
        return EFileType::expArchive;
    if (suffix == QLatin1String("qzp"))
        return EFileType::project;
    return EFileType::archive;
}

void CQzEditDoc::ReplaceLevel(CQzlSections&& level)
{
    // The engine keeps a reference to the level object, so the object stays and its contents are
    // replaced; the engine's models and textures point into the old records and go first.
    // The device objects the engine releases and makes live in the 3D view's context.
    const CQzEditView::CDeviceScope device(View3d());
    if (m_pEngine != nullptr)
        m_pEngine->ClearRenderObjects();
    *m_level = std::move(level);
    if (m_pEngine != nullptr) {
        C3dView& engine = *m_pEngine;
        engine.m_selection.m_sector = engine.m_selection.m_surface = engine.m_selection.m_thing =
            -1;
        engine.m_selection.m_vertex = engine.m_selection.m_vertexSurface = -1;
        RebuildAll(engine, true);
    }
}

void CQzEditDoc::ShowOpenedLevelStatus(bool last)
{
    // Asked again after the 3D view's first rebuild: placing the things may have mended what the
    // file had wrong.
    if (m_openedWithErrors &&
        !ValidateLevel(*m_level, {.checkUseCounts = false, .maxProblems = 1}).empty())
        SetStatusText(kLevelHasErrorsText);
    if (last)
        m_openedWithErrors = false;
}

void CQzEditDoc::ReadLevelFile(const std::filesystem::path& path)
{
    CLevelFile file = LoadLevelFile(path, m_app.m_settings.m_product);
    CQzeContents& contents = file.m_contents;
    ReplaceLevel(std::move(contents.m_level));
    // Text levels and archives before version 3 carry no episode fields: the defaults stay.
    const bool hasFields = file.m_form == ELevelForm::archive && contents.m_version >= 3;
    m_fields = hasFields ? contents.m_document : DefaultDocumentFields();
    AfterLoad();
}

void CQzEditDoc::AfterLoad()
{
    BuildResourceLists(*m_level, m_app.m_product.m_resources);
    ImportStartGoalsCogs();
}

void CQzEditDoc::ImportStartGoalsCogs()
{
    ::ImportStartGoalsCogs(*m_level, m_fields.m_startCogOn != 0, m_fields.m_goalsCogOn != 0,
                           m_app.m_product.m_resources);
}

bool CQzEditDoc::OnNewDocument()
{
    m_lastError.clear();
    const char* name = m_app.m_settings.m_product == 1 ? "newvarnok.qze" : "new.qze";
    const std::filesystem::path path = m_app.m_programDir / name;
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return true;  // no new-level file: the empty level
    try {
        ReadLevelFile(path);
    } catch (const std::exception& e) {
        // A damaged new-level file leaves the empty level; the reason is kept for whoever asks.
        ReplaceLevel(CQzlSections());
        m_fields = DefaultDocumentFields();
        m_lastError = FailureText("open", QString::fromStdString(path.string()), e);
    }
    SetModifiedFlag(false);
    return true;
}

bool CQzEditDoc::OnOpenDocument(const QString& path)
{
    const CWaitCursor wait;
    m_lastError.clear();
    const EFileType type = FileType(path);
    if (type == EFileType::baseArchive || type == EFileType::expArchive ||
        type == EFileType::project) {
        // An import sets up the product for the level it brings, which every open level shares.
        if (!m_app.Documents().empty()) {
            m_lastError = QStringLiteral("Cannot open \"%1\": close the other levels first; GOB "
                                         "and GOO archives and QzEdit projects are opened only "
                                         "while no other level is open.")
                              .arg(QDir::toNativeSeparators(path));
            return false;
        }
        bool imported = false;
        if (type == EFileType::project) {
            imported = ImportProject(path);
        } else {
            m_app.m_settings.m_product = type == EFileType::expArchive ? 1 : 0;
            m_app.SetupProduct();
            imported = ImportArchive(path);
        }
        if (imported)
            SetModifiedFlag(false);
        return imported;
    }
    try {
        // The file is read completely into a level of its own, by the form of its content; only
        // a level that was read whole and without fault replaces the document's.
        ReadLevelFile(HostPath(path));
    } catch (const std::exception& e) {
        m_lastError = FailureText("open", path, e);
        return false;
    }
    // A level opened with damaged indices is repaired by the user: point to the checker, now and
    // after the 3D view's first rebuild (which empties the status bar).
    m_openedWithErrors =
        !ValidateLevel(*m_level, {.checkUseCounts = false, .maxProblems = 1}).empty();
    ShowOpenedLevelStatus();
    SetModifiedFlag(false);
    return true;
}

bool CQzEditDoc::OnSaveDocument(const QString& path)
{
    const CWaitCursor wait;
    m_lastError.clear();
    const EFileType type = FileType(path);
    if (type == EFileType::baseArchive || type == EFileType::expArchive ||
        type == EFileType::project) {
        // Exports: the modified flag stays as it was.
        // Both write the text level; the archive build says so itself.
        if (type != EFileType::project)
            return BuildArchive(path);
        const bool saved = ExportProject(path);
        LevelTextWritten({});
        return saved;
    }
    try {
        if (type == EFileType::textLevel) {
            // Planes, boxes, centres and radii as the level stands, and the collide boxes the
            // game uses, before they are written.
            UpdateSectorBounds(*m_level, true);
            LevelTextWritten(SaveQzlFile(HostPath(path), *m_level, m_app.m_product.m_resources,
                                         m_app.m_settings.m_product));
            // An export: the modified flag stays as it was.
        } else {
            SaveQzeFile(HostPath(path), *m_level, m_fields);
            SetModifiedFlag(false);
        }
    } catch (const std::exception& e) {
        m_lastError = FailureText("save", path, e);
        return false;
    }
    return true;
}

bool CQzEditDoc::DoFileSave()
{
    if (m_pathName.isEmpty())
        return RunSaveAs();
    if (!OnSaveDocument(m_pathName)) {
        QzMessageBox(m_lastError, QMessageBox::Ok, DialogParent());
        return false;
    }
    return true;
}

void CQzEditDoc::OnFileSaveAs()
{
    RunSaveAs();
}

bool CQzEditDoc::RunSaveAs()
{
    // Starts in the document's own folder, else in the folder used last.
    const QString folder = m_pathName.isEmpty() ? QString() : QFileInfo(m_pathName).absolutePath();
    const QString path =
        QzGetSaveFileName(DialogParent(), QStringLiteral("Save As"),
                          SaveAsFilter(m_app.m_settings.m_product), QStringLiteral("qze"), folder);
    if (path.isEmpty())
        return false;
    return SaveAs(path);
}

bool CQzEditDoc::SaveAs(const QString& path)
{
    // The save writes a temporary file and renames it, so a failure leaves the file that was at
    // path untouched; nothing is deleted here.
    if (!OnSaveDocument(path)) {
        QzMessageBox(m_lastError, QMessageBox::Ok, DialogParent());
        return false;
    }
    if (const EFileType type = FileType(path);
        type == EFileType::archive || type == EFileType::project)
        SetPathName(QFileInfo(path).absoluteFilePath(), true);
    return true;
}

// ---- Autosave ----

QString CQzEditDoc::MakeAutosavePath() const
{
    // The document's path with "tmp" after the last "." of its file name (a name without one
    // gets ".tmp"); an untitled document: its title with ".tmp" in the current folder.
    QString stem;
    if (!m_pathName.isEmpty()) {
        const QFileInfo info(m_pathName);
        const QString name = info.fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        stem = info.dir().filePath(dot >= 0 ? name.left(dot) : name);
    } else {
        stem = QDir::current().filePath(FileNameOf(m_title));
    }

    // Never the file of an open document, and never another document's autosave file.
    const auto taken = [this](const QString& candidate) {
        const QString path = QDir::cleanPath(candidate);
        for (const CQzEditDoc* doc : m_app.Documents()) {
            if (!doc->PathName().isEmpty() && QDir::cleanPath(doc->PathName()) == path)
                return true;
            if (doc != this && !doc->m_autosavePath.isEmpty() &&
                QDir::cleanPath(doc->m_autosavePath) == path)
                return true;
        }
        return !m_pathName.isEmpty() && QDir::cleanPath(m_pathName) == path;
    };
    QString candidate = stem + QStringLiteral(".tmp");
    for (int n = 2; taken(candidate); ++n)
        candidate = stem + QStringLiteral("-%1.tmp").arg(n);
    return candidate;
}

bool CQzEditDoc::SaveAutosave()
{
    if (m_autosavePath.isEmpty())
        m_autosavePath = MakeAutosavePath();
    try {
        // Straight to the archive form: the modified flag, the path, the title and the recent
        // files are the user's saves' business, not the autosave's.
        SaveQzeFile(HostPath(m_autosavePath), *m_level, m_fields);
    } catch (const std::exception& e) {
        m_lastError = FailureText("save", m_autosavePath, e);
        QzMessageBox(m_lastError, QMessageBox::Ok, DialogParent());
        return false;
    }
    if (!m_lastAutosaveFile.isEmpty() && m_lastAutosaveFile != m_autosavePath)
        QFile::remove(m_lastAutosaveFile);
    m_lastAutosaveFile = m_autosavePath;
    return true;
}

// ---- Close ----

void CQzEditDoc::ConfirmClose()
{
    m_closeConfirmed = true;
    QTimer::singleShot(0, this, [this] { m_closeConfirmed = false; });
}

bool CQzEditDoc::SaveModified()
{
    if (!m_modified)
        return true;
    const QMessageBox::StandardButton answer =
        QzMessageBox(QStringLiteral("Save changes to %1?").arg(m_title),
                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, DialogParent());
    if (answer == QMessageBox::Yes) {
        if (!DoFileSave())
            return false;  // cancelled or failed: the document stays open
        ConfirmClose();
        return true;
    }
    if (answer == QMessageBox::No) {
        ConfirmClose();
        return true;
    }
    return false;
}

bool CQzEditDoc::OnCloseDocument()
{
    if (!m_closeConfirmed && !SaveModified())
        return false;
    m_closeConfirmed = false;

    if (m_app.m_pMainFrame != nullptr)
        m_app.m_pMainFrame->SetActiveView(nullptr);
    m_app.m_settings.m_renderMode = m_state.m_renderMode;
    m_app.m_settings.m_lightMode = m_state.m_lightMode;

    const QString autosave = m_autosavePath;
    const QString lastAutosave = m_lastAutosaveFile;
    m_progress.reset();
    if (const QPointer<CChildFrame> frame = std::exchange(m_frame, nullptr)) {
        frame->Destroy();  // the window and its views (with the engine) go
        // When the close began at the window itself (its close box), the window is inside its
        // own close already and a second close does nothing; it must not outlive the document.
        if (!frame.isNull()) {
            frame->hide();
            frame->deleteLater();
        }
    }
    m_pEngine = nullptr;
    m_app.RemoveDocument(this);  // deleted when the event loop turns

    if (!autosave.isEmpty())
        QFile::remove(autosave);
    if (!lastAutosave.isEmpty() && lastAutosave != autosave)
        QFile::remove(lastAutosave);
    return true;
}

void CQzEditDoc::SwitchPropertyView(int id)
{
    if (m_frame != nullptr)
        m_frame->SwitchPropertyView(*this, id);
    else
        m_propertyViewId = id;
}

// ---- Framework document ----

void CQzEditDoc::SetPathName(const QString& path, bool addToRecent)
{
    m_pathName = path;
    if (path.isEmpty())
        return;
    if (addToRecent)
        m_app.AddToRecentFileList(path);
    SetTitle(QFileInfo(path).fileName());
}

void CQzEditDoc::TakePendingTitle()
{
    if (m_pendingTitle.isEmpty())
        return;
    const QString title = m_pendingTitle;
    m_pendingTitle.clear();
    SetPathName(QString(), false);
    SetTitle(title);
}

void CQzEditDoc::SetTitle(const QString& title)
{
    m_title = title;
    emit TitleChanged();
}

void CQzEditDoc::SetModifiedFlag(bool modified)
{
    if (modified)
        m_closeConfirmed = false;  // an edit after the answer is asked about again
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit ModifiedChanged(modified);
}

void CQzEditDoc::AddView(CDocView* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CQzEditDoc::RemoveView(CDocView* view)
{
    std::erase(m_views, view);
}

void CQzEditDoc::UpdateAllViews(CDocView* sender, long hint)
{
    const std::vector<CDocView*> views = m_views;  // a view may go while it updates
    for (CDocView* view : views)
        if (view != sender && std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(sender, hint);
}

QWidget* CQzEditDoc::DialogParent() const
{
    return m_app.m_pMainFrame;
}

// ---- CEngineHost ----

void CQzEditDoc::ShowMessage(std::string_view text)
{
    QzMessageBox(Text(text), QMessageBox::Ok, DialogParent());
}

bool CQzEditDoc::AskYesNo(std::string_view text)
{
    return QzMessageBox(Text(text), QMessageBox::Yes | QMessageBox::No, DialogParent()) ==
           QMessageBox::Yes;
}

void CQzEditDoc::BeginWaitCursor()
{
    QzBeginWaitCursor();
}

void CQzEditDoc::EndWaitCursor()
{
    QzEndWaitCursor();
}

void CQzEditDoc::BeginProgress(std::string_view title, int steps)
{
    QWidget* parent = View3d();
    if (parent == nullptr)
        parent = DialogParent();
    m_progress.reset();
    m_progress = std::make_unique<CProgress>(parent, Text(title), steps);
}

void CQzEditDoc::StepProgress()
{
    if (m_progress)
        m_progress->Step();
}

void CQzEditDoc::EndProgress()
{
    m_progress.reset();
}

void CQzEditDoc::SetProgressTitle(std::string_view title)
{
    if (m_progress)
        m_progress->SetTitle(Text(title));
}

void CQzEditDoc::SetStatusText(std::string_view text)
{
    if (m_app.m_pMainFrame != nullptr)
        m_app.m_pMainFrame->SetMessageText(Text(text));
}

void CQzEditDoc::SetStatusPanes(std::span<const std::string> texts)
{
    if (m_app.m_pMainFrame != nullptr)
        m_app.m_pMainFrame->SetStatusPanes(texts);
}

void CQzEditDoc::SetScrollBars(int low, int high, int page, int horizontalPosition,
                               int verticalPosition)
{
    if (CQzEditView* view = View3d())
        view->SetScrollBars(low, high, page, horizontalPosition, verticalPosition);
}

void CQzEditDoc::SetGridSetting(float grid)
{
    m_app.m_settings.m_grid = grid;
}

void CQzEditDoc::ViewsChanged()
{
    UpdateAllViews(nullptr);
}

void CQzEditDoc::RequestFrame(bool forced)
{
    if (CQzEditView* view = View3d())
        view->RequestFrame(forced);
}

CQzEditView* CQzEditDoc::View3d() const
{
    for (CDocView* view : m_views)
        if (auto* view3d = dynamic_cast<CQzEditView*>(view))
            return view3d;
    return nullptr;
}

void CQzEditDoc::RegisterCommands()
{
    AddCommand(Cmd::kFileClose, [this] { OnCloseDocument(); });
    AddCommand(Cmd::kFileSave, [this] { DoFileSave(); });
    AddCommand(Cmd::kFileSaveAs, [this] { OnFileSaveAs(); });
    RegisterViewCommands();
    AddCommand(Cmd::kHiddenSectorRemoval, [this] { OnHiddenSectorRemoval(); });
    RegisterToolCommands();
    AddCommand(Cmd::kOptions, [this] { OnOptions(); });
    AddCommand(
        Cmd::kMergeSurfaces, [this] { OnMerge(EMergeMode::Surfaces); },
        [this](CCmdUI& ui) { ui.Enable(m_pEngine != nullptr && CanMergeSurfaces(*m_pEngine)); });
    AddCommand(
        Cmd::kMergeSectors, [this] { OnMerge(EMergeMode::Sectors); },
        [this](CCmdUI& ui) { ui.Enable(m_pEngine != nullptr && CanMergeSectors(*m_pEngine)); });
    AddCommand(
        Cmd::kSplitByPolygon, [this] { OnSplitByPolygon(); },
        [this](CCmdUI& ui) { ui.Enable(m_pEngine != nullptr && CanSplitByPolygon(*m_pEngine)); });
    AddCommand(
        Cmd::kEditUndo, [this] { RestoreLevelState(UndoCommand); },
        [this](CCmdUI& ui) { ui.Enable(m_pEngine != nullptr && CanUndo(*m_pEngine)); });
    AddCommand(
        Cmd::kEditRedo, [this] { RestoreLevelState(RedoCommand); },
        [this](CCmdUI& ui) { ui.Enable(m_pEngine != nullptr && CanRedo(*m_pEngine)); });
}

bool CQzEditDoc::RestoreLevelState(bool (*command)(C3dView&))
{
    return RunOnEngine(command);
}

void CQzEditDoc::RegisterViewCommands()
{
    for (const CViewCommand& command : ViewCommandTable()) {
        const ViewCommandRun run = command.run;
        const ViewCommandUpdate update = command.update;
        AddCommand(
            command.id,
            [this, run] {
                // The engine rebuilds, uploads and draws on the 3D view's device.
                const CQzEditView::CDeviceScope scope(View3d());
                run(m_state, m_app.m_settings, m_pEngine, *this);
            },
            [this, update](CCmdUI& ui) {
                const CCommandState state = update(m_state, m_app.m_settings, m_pEngine);
                ui.Enable(state.enabled);
                if (state.check >= 0)
                    ui.SetCheck(state.check);
            });
    }
}

void CQzEditDoc::OnHiddenSectorRemoval()
{
    CDocumentHsrDlg dialog(m_app.m_settings, m_pEngine, View3d(), DialogParent());
    dialog.exec();
}

// ---- The Level, Tools and Library commands ----

void CQzEditDoc::RegisterToolCommands()
{
    const auto onEngine = [this](bool (*command)(C3dView&)) {
        return [this, command] { RunOnEngine(command); };
    };
    const auto ruleOnEngine = [this](bool (*rule)(const C3dView&)) {
        return [this, rule](CCmdUI& ui) { ui.Enable(m_pEngine != nullptr && rule(*m_pEngine)); };
    };
    const auto withEngine = [this](CCmdUI& ui) { ui.Enable(m_pEngine != nullptr); };
    AddCommand(Cmd::kFindItem, [this] { OnFindItem(); });
    AddCommand(Cmd::kHeader, [this] {
        CHeaderDlg dialog(*this, DialogParent());
        dialog.exec();
    });
    AddCommand(Cmd::kStatistics, [this] {
        CStatisticsDlg dialog(*this, DialogParent());
        dialog.exec();
    });
    AddCommand(Cmd::kUpdateVertices, onEngine(RunUpdateVerticesCommand), withEngine);
    AddCommand(Cmd::kRestoreSurface, onEngine(RunRestoreSurfaceCommand),
               ruleOnEngine(CanRestoreSurface));
    AddCommand(Cmd::kSelectSound, onEngine(RunSelectSoundCommand), ruleOnEngine(CanSelectSound));
    AddCommand(
        Cmd::kStartupCogEditor,
        [this] { OnCogEditor(kStartCogScript, "Startup Cog Editor", Cmd::kStartupCogEditor); },
        [this](CCmdUI& ui) { ui.Enable(m_fields.m_startCogOn != 0); });
    AddCommand(
        Cmd::kGoalsCogEditor,
        [this] { OnCogEditor(kGoalsCogScript, "Goals Cog Editor", Cmd::kGoalsCogEditor); },
        [this](CCmdUI& ui) { ui.Enable(m_fields.m_goalsCogOn != 0); });
    for (const int id : {Cmd::kCreateRectangle, Cmd::kCreateCylinder, Cmd::kCreatePyramid})
        AddCommand(
            id, [this, id] { OnCreateShape(id); },
            [this, id](CCmdUI& ui) { ui.Enable(CreateShapeEnabled(id)); });
    AddCommand(
        Cmd::kLibraryRename, [this] { OnLibraryRename(); }, withEngine);
    AddCommand(
        Cmd::kLibraryDelete, [this] { OnLibraryDelete(); }, withEngine);
    AddCommand(Cmd::kLibrarySave, [this] { OnLibrarySave(); });
    AddCommand(
        Cmd::kLibraryLoad, [this] { OnLibraryLoad(); }, withEngine);
    const auto createRule = [this](int id) {
        const ECreateRule rule = FindCreateCommand(id)->m_rule;
        return [this, rule](CCmdUI& ui) { ui.Enable(CreateRuleHolds(rule, m_pEngine, m_state)); };
    };
    AddCommand(
        Cmd::kCreateDoor, [this] { OnCreateDoor(); }, createRule(Cmd::kCreateDoor));
    AddCommand(
        Cmd::kCreateElevator, [this] { OnCreateElevator(); }, createRule(Cmd::kCreateElevator));
    RegisterLayerCommands();
    RegisterSurfaceEffectCommands();
    RegisterSwitchCommand();
    RegisterLightCommand();
    RegisterLandscapeCommand();
    RegisterFilesCommand();
    RegisterAnimationCommand();
    RegisterColorMapCommands();
    RegisterTemplateManagerCommand();
    RegisterCogsCommand();
    RegisterErrorsCommand();
    RegisterEpisodeCommand();
    RegisterStartupEditorCommand();
    RegisterTestLevelCommand();
}

void CQzEditDoc::OnFindItem()
{
    CFindItemDlg dialog(*this, DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const auto [kind, index] = dialog.Chosen();
    RunOnEngine([kind, index](C3dView& engine) {
        FindItem(engine, kind, index);
        return true;
    });
}

void CQzEditDoc::OnCreateDoor()
{
    if (m_pEngine == nullptr)
        return;
    const auto params = AskModelDialog<CCreateDoorDlg>(*m_pEngine, DialogParent());
    if (!params)
        return;
    const CWaitCursor wait;
    RunOnEngine([&params](C3dView& engine) { return RunCreateDoorCommand(engine, *params); });
}

void CQzEditDoc::OnCreateElevator()
{
    if (m_pEngine == nullptr)
        return;
    const auto params = AskModelDialog<CCreateElevatorDlg>(*m_pEngine, DialogParent());
    if (!params)
        return;
    const CWaitCursor wait;
    RunOnEngine([&params](C3dView& engine) { return RunCreateElevatorCommand(engine, *params); });
}

bool CQzEditDoc::RunOnEngine(const std::function<bool(C3dView&)>& command)
{
    if (m_pEngine == nullptr)
        return false;
    // The rebuilds release and make device objects in the 3D view's context.
    const CQzEditView::CDeviceScope device(View3d());
    return command(*m_pEngine);
}

void CQzEditDoc::OnCogEditor(const char* name, const char* title, int command)
{
    const CDataFolders folders = m_app.DataFolders();
    std::vector<std::uint8_t> bytes;
    try {
        bytes = folders.Read(name);
    } catch (const std::exception& e) {
        QzMessageBox(Text(e.what()), QMessageBox::Ok, DialogParent());
        return;
    }
    // The cog text is 8-bit; its line ends are edited as plain line breaks and written back as
    // the file had them.
    const auto edited =
        EditTextBytes(QString::fromLatin1(title), bytes, m_app.m_settings,
                      0x10000U + static_cast<unsigned int>(command), DialogParent());
    if (!edited)
        return;
    try {
        folders.Write(name, *edited);
    } catch (const std::exception& e) {
        QzMessageBox(Text(e.what()), QMessageBox::Ok, DialogParent());
    }
}

bool CQzEditDoc::CreateShapeEnabled(int id) const
{
    const CCreateCommand* command = FindCreateCommand(id);
    return command != nullptr && CreateRuleHolds(command->m_rule, m_pEngine, m_state);
}

void CQzEditDoc::OnCreateShape(int id)
{
    if (m_pEngine == nullptr || !CreateShapeEnabled(id))
        return;
    C3dView& engine = *m_pEngine;
    // A builder that refuses gives the level back as it was, but the sectors it rebuilt on the
    // way mark the document modified: the flag goes back to what it was.
    const bool modified = IsModified();
    const auto build = [&](bool (*command)(C3dView&, const CRaisedShape&),
                           const CRaisedShape& shape) {
        if (!RunOnEngine([&](C3dView& on) { return command(on, shape); }))
            SetModifiedFlag(modified);
    };
    if (id == Cmd::kCreateRectangle) {
        CDocumentShapeDlg<CCreateRectangleDlg> dialog(View3d(), engine, DialogParent());
        if (dialog.exec() == QDialog::Accepted)
            build(RunCreateColumnCommand, dialog.m_shape);
        return;
    }
    const bool pyramid = id == Cmd::kCreatePyramid;
    CDocumentShapeDlg<CCreateCylinderDlg> dialog(
        View3d(), engine, pyramid ? Dlg::kCreatePyramidMode : Dlg::kCreateCylinder, DialogParent());
    if (dialog.exec() == QDialog::Accepted)
        build(pyramid ? RunCreatePyramidCommand : RunCreateColumnCommand, dialog.m_shape);
}

void CQzEditDoc::OnLibraryRename()
{
    if (m_pEngine == nullptr)
        return;
    CLibraryRenameDlg dialog(CurrentGroupName(*m_pEngine), DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    RunOnEngine([&dialog](C3dView& engine) {
        return RunRenameGroupCommand(engine, dialog.m_oldName, dialog.m_newName);
    });
}

void CQzEditDoc::OnLibraryDelete()
{
    if (m_pEngine == nullptr)
        return;
    CLibraryDeleteDlg dialog(CurrentGroupName(*m_pEngine), DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    RunOnEngine(
        [&dialog](C3dView& engine) { return RunDeleteGroupCommand(engine, dialog.m_groupName); });
}

void CQzEditDoc::OnLibrarySave()
{
    const QString path = QzGetSaveFileName(DialogParent(), QStringLiteral("Library, Save"),
                                           kLibraryFilter, QStringLiteral("QZE"));
    if (path.isEmpty())
        return;
    CLibrarySaveDlg dialog(QFileInfo(path).fileName().toStdString(), SectorGroupNames(*m_level),
                           DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CWaitCursor wait;
    try {
        SaveLibraryFile(HostPath(path), *m_level, dialog.m_groupName, m_fields,
                        m_app.m_product.m_resources);
    } catch (const std::exception& e) {
        QzMessageBox(FailureText("save", path, e), QMessageBox::Ok, DialogParent());
    }
}

void CQzEditDoc::OnLibraryLoad()
{
    if (m_pEngine == nullptr)
        return;
    const QString path = QzGetOpenFileName(DialogParent(), QStringLiteral("Library, Load"),
                                           kLibraryFilter, QStringLiteral("QZE"));
    if (path.isEmpty())
        return;
    CQzlSections source;
    try {
        const CWaitCursor wait;
        source = ReadLibraryFile(HostPath(path), m_app.m_settings.m_product);
    } catch (const std::exception& e) {
        QzMessageBox(FailureText("open", path, e), QMessageBox::Ok, DialogParent());
        return;
    }
    CLibraryLoadDlg dialog(QFileInfo(path).fileName().toStdString(), SectorGroupNames(source),
                           DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    RunOnEngine(
        [&](C3dView& engine) { return RunLoadGroupCommand(engine, dialog.m_groupName, source); });
}

void CQzEditDoc::OnOptions()
{
    CSheetDlg sheet(QStringLiteral("Options"), DialogParent());
    sheet.AddPage(new CGeneralPage(*this));
    sheet.AddPage(new CColorsPage(*this));
    sheet.AddPage(new CConfigurationPage(m_app.m_settings));
    sheet.exec();
}

void CQzEditDoc::OnMerge(EMergeMode mode)
{
    if (m_pEngine == nullptr)
        return;
    CMergeDlg dialog(*m_pEngine, mode, DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The merge rebuilds sectors on the 3D view's device.
    const CQzEditView::CDeviceScope device(View3d());
    RunMergeCommand(*m_pEngine, mode, dialog.m_chosen);
}

void CQzEditDoc::OnSplitByPolygon()
{
    if (m_pEngine == nullptr)
        return;
    CDocumentSplitByPolygonDlg dialog(*m_pEngine, View3d(), DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CQzEditView::CDeviceScope device(View3d());
    RunSplitByPolygon(*m_pEngine);
}
