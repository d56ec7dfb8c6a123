#pragma once
// The document: one open level with the document's own fields (view state, episode fields,
// autosave state), its file dispatch (New, Open and Save by file type, Save As, autosave, close)
// and the window-system seam of its engine (CEngineHost).

#include "app/CommandTarget.h"
#include "engine/CommandIds.h"
#include "engine/EngineHost.h"
#include "engine/Questions.h"
#include "framework/DocumentState.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class C3dView;
class CChildFrame;
class CDocView;
class CErrorsDlg;
class CObjectFramesDlg;
class CQzEditApp;
class CQzEditView;
class QWidget;
enum class EMergeMode;

class CQzEditDoc : public QObject, public CEngineHost, public CCommandTarget {
    Q_OBJECT

public:
    // A new empty document of app: empty level, the default fields, render and light mode from
    // the "RenderMode" and "LightMode" settings.
    explicit CQzEditDoc(CQzEditApp& app);
    ~CQzEditDoc() override;
    CQzEditDoc(const CQzEditDoc&) = delete;
    CQzEditDoc& operator=(const CQzEditDoc&) = delete;

    // The default message text of a new document.
    static const char* const kDefaultMessageText;
    // The status text after a level with damaged indices was opened.
    static constexpr const char* kLevelHasErrorsText =
        "The level has errors: choose Errors... and Check to see them.";
    // Shows kLevelHasErrorsText when the level was opened with damaged indices that are still
    // there. With last, for the last time for this level (the 3D view's first rebuild).
    void ShowOpenedLevelStatus(bool last = false);

    // ---- Lifecycle ----
    // New: reads "new.qze" ("newvarnok.qze" for "Product" 1) from the program folder; a missing
    // or unreadable file leaves the empty level. Always true.
    bool OnNewDocument();
    // Open: ".gob" and ".goo" import a level of the game's archive (the "Product" setting becomes
    // 0 or 1 and is applied first), ".qzp" a project, both only while no other document is open;
    // any other name: the level in the form of the file's content (the game's text level or the
    // archive form). False, with the reason in LastError() (empty when the user cancelled) and
    // the document unchanged, when the file cannot be read or is not a whole level (a text level
    // cut short).
    bool OnOpenDocument(const QString& path);
    // Save by type (".qzl" text level, ".gob"/".goo" the game's archive, ".qzp" a project,
    // anything else the archive form through a temporary file and a rename). Only the archive
    // form clears the modified flag. False with LastError() when it failed.
    bool OnSaveDocument(const QString& path);
    // Save (57603): to the document's path, or Save As when it has none.
    bool DoFileSave();
    // Save As (57604): asks for a path, then SaveAs.
    void OnFileSaveAs();
    // The work of Save As once a path is chosen: save; on success a file written in the
    // archive form (".qze" or any other name of no other type) or a project (".qzp") becomes the
    // document's path and enters the recent-file list; the exports (".qzl", ".gob", ".goo") keep
    // the path and the modified flag. A failure shows its message.
    bool SaveAs(const QString& path);
    // The autosave file of this document: its path up to the last "." followed by "tmp"; unique
    // among the open documents (an untitled document, or two documents of one stem, get names
    // of their own).
    QString MakeAutosavePath() const;
    // Autosave: archive form to m_autosavePath (made by MakeAutosavePath when empty); the
    // modified flag, path, title and recent files stay. A failure shows its message.
    bool SaveAutosave();
    // Close (57602): asks to save a modified document (Yes saves, No discards, Cancel keeps it
    // open; false then), writes "RenderMode" and "LightMode", closes the window, deletes the
    // autosave file and the document.
    bool OnCloseDocument();
    // True when the document may close: not modified, or the user saved or discarded it. A yes
    // or no answer holds for a close of this document within the same turn of the event loop
    // (the main frame asks every document first and closes them afterwards), so the question is
    // not asked twice.
    bool SaveModified();

    // Makes the level's cogs agree with the start-cog and goals-cog switches of the episode
    // fields (the level's start and goals cogs).
    void ImportStartGoalsCogs();

    // ---- Test Level and the game's archives (QzEditDocTestLevel.cpp) ----
    // Writes the level's GOB/GOO archive at path: the episode file, the level, the message file,
    // the start and goals cogs by their switches and the level's own files. False (m_lastError
    // says why) when it could not be written; the file at path is then as it was.
    bool BuildArchive(const QString& path);
    // True while a game that Test Level started (in any document) is still running.
    bool IsGameRunning() const;

    // ---- Import and export (QzEditDocImport.cpp) ----
    // One level of a GOB/GOO archive, chosen in the Levels dialog, with the archive's files; the
    // pending title becomes the level's name. False when the archive cannot be read or the
    // dialog was cancelled (m_lastError says why, empty for a cancel); the level is then as it was.
    bool ImportArchive(const QString& path);
    // A project: the ".qzp" file and the folder beside it. False when it cannot be read.
    bool ImportProject(const QString& path);
    // Writes the project of path. False (m_lastError says why) when it could not be written.
    bool ExportProject(const QString& path);

    // ---- Framework document ----
    const QString& PathName() const { return m_pathName; }
    // Sets the path and the title (the file's name); with addToRecent the path enters the
    // application's recent-file list.
    void SetPathName(const QString& path, bool addToRecent = true);
    // A level imported from an archive is titled by its name and has no path, so that Save asks
    // for a file (and never writes over the archive it came from); nothing without a pending
    // title.
    void TakePendingTitle();
    const QString& Title() const { return m_title; }
    void SetTitle(const QString& title);
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified) override;  // CEngineHost as well
    const QString& LastError() const { return m_lastError; }

    // Views of the document.
    void AddView(CDocView* view);
    void RemoveView(CDocView* view);
    const std::vector<CDocView*>& Views() const { return m_views; }
    // Every view but sender gets OnUpdate(sender, hint).
    void UpdateAllViews(CDocView* sender, long hint = 0);
    // The engine's view update with a hint: every view.
    void UpdateAllViews(long hint) override { UpdateAllViews(nullptr, hint); }
    // The engine's pane switch: the middle pane of this document's window.
    void SwitchPropertyView(int id) override;
    CChildFrame* Frame() const { return m_frame; }
    // The document's 3D view; null when it has none.
    CQzEditView* View3d() const;
    void SetFrame(CChildFrame* frame) { m_frame = frame; }

    // ---- The Object Frames window ----
    // The document's one Object Frames window, null while none is open. While one is open,
    // m_state.m_objectFramesOpen is 1 (picking is blocked).
    CObjectFramesDlg* ObjectFramesWindow() const;
    // window becomes the document's Object Frames window; the one held before is destroyed.
    void SetObjectFramesWindow(CObjectFramesDlg* window);
    // window is closing itself: when it is the document's, the document holds none.
    void ObjectFramesWindowClosing(const CObjectFramesDlg* window);

    // ---- The Errors window ----
    // A new Errors window over the main window, shown or hidden, in place of the one the
    // document had (that one is destroyed); it checks the level as soon as its events are
    // processed.
    CErrorsDlg* MakeErrorsWindow(bool show);
    // A new hidden Errors window (as MakeErrorsWindow) that checks the level now: the report is
    // in the window, which the caller may show; 1 when a finding was fatal.
    int CheckInHiddenErrorsWindow();
    // The document's Errors window, null while none is open.
    CErrorsDlg* ErrorsWindow() const;

    // ---- CEngineHost ----
    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void BeginProgress(std::string_view title, int steps) override;
    void StepProgress() override;
    void EndProgress() override;
    void SetProgressTitle(std::string_view title) override;
    void SetStatusText(std::string_view text) override;
    void SetStatusPanes(std::span<const std::string> texts) override;
    void SetScrollBars(int low, int high, int page, int horizontalPosition,
                       int verticalPosition) override;
    void SetGridSetting(float grid) override;
    void ViewsChanged() override;
    void RequestFrame(bool forced) override;
    // The pickers: the resource dialogs (resources/ui: Materials, Template, Color Map, Sounds) in
    // the mode asked.
    std::optional<CMaterialChoice> PickMaterial(std::string_view initial, int mode) override;
    std::optional<CTemplateChoice> PickTemplate(std::string_view initial, int mode) override;
    std::optional<std::string> PickColorMap(std::string_view initial, int mode) override;
    std::optional<std::string> PickSound(std::string_view initial, int mode) override;

    // ---- Fields ----
    CQzEditApp& m_app;
    C3dView* m_pEngine = nullptr;                   // the 3D view's engine; not owned
    CDocumentState m_state;                         // edit mode, render mode, switches
    int m_propertyViewId = PropertyView::kSurface;  // kSurface, kThings or kVertex
    QString m_autosavePath;
    int m_autosaveTicks = 0;
    CDocumentFields m_fields;  // episode title, level file name, message text, six words
    std::unique_ptr<CQzlSections> m_level;
    QString m_pendingTitle;

signals:
    void TitleChanged();
    void ModifiedChanged(bool modified);

private:
    enum class EFileType {
        archive,      // the editor's own form (.qze, the autosave file, any other name)
        textLevel,    // the game's text level (.qzl)
        baseArchive,  // the base game's archive (.gob)
        expArchive,   // the expansion's archive (.goo)
        project,      // a project (.qzp)
    };
    // The type of a file by its extension (letter case ignored).
    static EFileType FileType(const QString& path);
    // The message of a failed open or save ("open", "save") of path.
    static QString FailureText(const char* verb, const QString& path, const std::exception& e);

    void RegisterCommands();
    // The view, mode, grid and toggle commands, each with its update rule.
    void RegisterViewCommands();
    // "&Hidden Sector Removal..." (2047): the dialog for the document's engine, modal.
    void OnHiddenSectorRemoval();
    // ---- The Level, Tools and Library commands on the selection and the library files ----
    // Find Item, Header and Statistics (always enabled), Update Vertices, Restore Surface,
    // Select Sound, the two cog editors and the four Library commands, each with its update rule.
    // Commands whose dialogs do not exist yet (Episode Editor, Startup Editor) and the
    // Create commands whose builders do not exist yet have no handler and stay greyed; "D&oor..."
    // and
    // "&Elevator..." are enabled by their Create rule. "&Header..." writes the header in an undo
    // step on OK; "&Statistics..." changes nothing.
    void RegisterToolCommands();
    // The construction commands of the Create menu, each group in a file of its own
    // (QzEditDoc<Group>.cpp), registered by RegisterToolCommands with their update rules:
    // "La&yer...", "&Dome..." and "S&tairs..."; the surface effects ("&Water...", "&Force
    // Field...", "&Breaking Glass...", "Slashable &Grate...", "Con&veyor Belt..."); "&Switch...";
    // "&Light..."; "L&andscape...".
    void RegisterLayerCommands();
    void RegisterSurfaceEffectCommands();
    void RegisterSwitchCommand();
    void RegisterLightCommand();
    void RegisterLandscapeCommand();
    // "&Files in Level..." (QzEditDocFiles.cpp): the Files in Level dialog on the level.
    void RegisterFilesCommand();
    // "Animation Manager..." (QzEditDocAnimation.cpp): the dialog over the material of the
    // engine's current surface, or over no name when no surface with a material is current.
    void RegisterAnimationCommand();
    // The resource dialogs' commands, one file each: "Select Color Map..." (QzEditDocColorMaps.cpp,
    // with the colour-map and sound pickers), "Template &Manager..." (QzEditDocTemplateManager.cpp)
    // and "&Cogs in Level..." (QzEditDocCogs.cpp). The material and template pickers are in
    // QzEditDocMaterials.cpp and QzEditDocTemplates.cpp.
    void RegisterColorMapCommands();
    void RegisterTemplateManagerCommand();
    void RegisterCogsCommand();
    void RegisterErrorsCommand();
    void RegisterEpisodeCommand();
    void RegisterStartupEditorCommand();
    void RegisterTestLevelCommand();
    // "Test &Level" (2018): check, build the test archive, start the game (it runs on its own).
    void OnTestLevel();
    // After the level was written in the text form (which numbers the surfaces anew in sector
    // order): status, when not empty, in the status bar; no current surface or vertex; every
    // sector's render data rebuilt.
    void LevelTextWritten(const std::string& status);
    // "F&ind Item" (2045): the dialog; on OK the item chosen becomes current and the camera is
    // put in front of it (FindItem) in the 3D view's device scope. Without an engine nothing
    // can be found or shown: the dialog lists the level and OK does nothing more.
    void OnFindItem();
    // "&Rectangle..." (2081), "&Cylinder..." (2063), "&Pyramid..." (2069): the Create Rectangle
    // or Create Cylinder/Pyramid dialog over the engine, then, on OK, the column or pyramid
    // builder with its shape in an undo step. Enabled while the command's Create rule holds.
    void OnCreateShape(int id);
    bool CreateShapeEnabled(int id) const;
    // Runs command on the engine inside the 3D view's device scope; false without an engine.
    bool RunOnEngine(const std::function<bool(C3dView&)>& command);
    // The start or goals cog editor: the user's copy of name (else the program's default) in the
    // text editor titled title; OK writes the user's copy. A file that cannot be read or written
    // is reported.
    void OnCogEditor(const char* name, const char* title, int command);
    // "Rename..." (2095), "Delete..." (2096): the dialog preset with the current sector's group,
    // then the operation in an undo step.
    void OnLibraryRename();
    void OnLibraryDelete();
    // "Save..." (32873): a file, then the group, then the file is written (only after OK, through
    // a temporary file). "Load..." (32872): a file, read whole, then the group to load.
    void OnLibrarySave();
    void OnLibraryLoad();
    // "D&oor..." (2050), "&Elevator..." (2057): the dialog, made under the wait cursor (it reads
    // the first model); on OK, once the dialog and its preview are gone, the builder in an undo
    // step under the wait cursor (a refusal leaves no step).
    void OnCreateDoor();
    void OnCreateElevator();
    // "Optio&ns..." (32771): the "Options" sheet with the General, Colors and Configuration
    // pages, modal; the pages store their values themselves.
    void OnOptions();
    // Merge Surfaces, Merge Sectors: the Merge dialog, then the merge with the number chosen.
    void OnMerge(EMergeMode mode);
    // Split by Polygon: the dialog computes the polygon into the picked nodes, then the cut.
    void OnSplitByPolygon();
    // "&Undo" (57643) and "&Redo" (57644): command (UndoCommand or RedoCommand) on the engine
    // inside the 3D view's device scope; it restores the level and shows it (the Surface view,
    // every sector rebuilt, every view updated). Enabled while the undo list, or the redo list,
    // is not empty. False when there was nothing to restore.
    bool RestoreLevelState(bool (*command)(C3dView&));
    // Puts level in place of the document's level (the level object stays the same).
    void ReplaceLevel(CQzlSections&& level);
    // After a level was read: its resource lists and the start and goals cogs.
    void AfterLoad();
    // Reads the level file at path into the document (level, episode fields), then AfterLoad.
    // Throws as LoadLevelFile does, before anything of the document changed.
    void ReadLevelFile(const std::filesystem::path& path);
    // The save dialog of Save As, then SaveAs; false when cancelled or failed.
    bool RunSaveAs();
    // The close may go on without asking again until the event loop turns.
    void ConfirmClose();
    // The window that owns message boxes and dialogs (the main frame; null without one).
    QWidget* DialogParent() const;

    QString m_pathName;
    QString m_title;
    bool m_modified = false;
    QString m_lastError;
    std::vector<CDocView*> m_views;
    CChildFrame* m_frame = nullptr;
    class CProgress;
    std::unique_ptr<CProgress> m_progress;
    // The autosave file written last (removed when the next autosave goes elsewhere).
    QString m_lastAutosaveFile;
    bool m_closeConfirmed = false;
    QPointer<QObject> m_objectFrames;  // the Object Frames window
    QPointer<QWidget> m_cogsInLevel;   // the Cogs in Level window
    QPointer<QWidget> m_errors;        // the Errors window
    bool m_openedWithErrors = false;   // the file opened had damaged indices
};
