// Undo and Redo in the running editor on a real OpenGL context (label "gl": run under Xvfb): an
// edit made through the engine of an opened level, then Ctrl+Z gives back the file the level
// saved as before the edit and the picture before it, and Ctrl+Y the file and the picture after
// the edit; the menu's enable states follow at every step.

#include "EditorTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "framework/FileIO.h"
#include "level/DeleteRenumber.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QPointer>
#include <QTest>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWaitMs = kEditorWaitMs;
constexpr std::uint32_t kBackground = kEditorBackground;

class EditorUndoTest : public EditorTest {
protected:
    bool Enabled(int id)
    {
        m_app->m_pMainFrame->UpdateCommandUI();
        const QAction* action = m_app->m_pMainFrame->Action(id);
        return action != nullptr && action->isEnabled();
    }

    static int CountBackground(const QImage& image) { return CountColor(image, kBackground); }
    static void CtrlKey(CQzEditView& view, Qt::Key key)
    {
        KeyAndPaint(view, key, Qt::ControlModifier);
    }
};

TEST_F(EditorUndoTest, CtrlZGivesBackTheSavedBytesAndCtrlYTheEdit)
{
    CQzEditApp& app = MakeApp();
    app.m_settings.m_colorBackground = kBackground;
    app.m_settings.m_renderMode = 0;
    app.m_settings.m_stretchMode = 0;
    app.m_pMainFrame->setGeometry(20, 20, 1000, 750);

    CQzlSections level = MakeTwoJoinedRooms();
    SaveQzeFile(Temp() / "rooms.qze", level, CDocumentFields{});
    CQzEditDoc* doc = app.OpenDocumentFile(QString::fromStdString((Temp() / "rooms.qze").string()));
    ASSERT_NE(doc, nullptr) << m_messages.join(QStringLiteral("; ")).toStdString();
    doc->m_state.m_renderMode = 0;
    CQzEditView* view = doc->Frame()->View3d();
    ASSERT_NE(view, nullptr);
    app.m_pMainFrame->show();
    app.m_pMainFrame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.m_pMainFrame));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return view->Engine() != nullptr && view->Device() != nullptr && view->PaintCount() > 0;
        },
        kWaitMs))
        << view->DeviceError();
    view->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->hasFocus(); }, kWaitMs));
    C3dView& engine = *view->Engine();

    // The camera stands where the rooms meet, looking at their far walls.
    const Bytes before = SavedBytes(*doc);
    const QImage pictureBefore = view->GrabFrame();
    EXPECT_FALSE(Enabled(Cmd::kEditUndo));
    EXPECT_FALSE(Enabled(Cmd::kEditRedo));

    // The edit, through the engine: the far wall of the first room goes, and the background
    // shows through where it stood.
    {
        const CQzEditView::CDeviceScope scope(*view);
        ASSERT_TRUE(RunUndoable(engine, [&] {
            DeleteSurface(*doc->m_level, engine.GetGame(), BoxSurface(*doc->m_level, 0, kBoxZHigh));
            RebuildSector(engine, 0);
            return true;
        }));
    }
    doc->UpdateAllViews(nullptr);
    const Bytes edited = SavedBytes(*doc);
    const QImage pictureEdited = view->GrabFrame();
    EXPECT_NE(edited, before);
    const int pixels = pictureBefore.width() * pictureBefore.height();
    EXPECT_EQ(CountBackground(pictureBefore), 0);
    EXPECT_GT(CountBackground(pictureEdited), pixels / 3);
    EXPECT_TRUE(Enabled(Cmd::kEditUndo));
    EXPECT_FALSE(Enabled(Cmd::kEditRedo));

    // Ctrl+Z, then Ctrl+Y: the file and the picture of before the edit, then of after it.
    const auto expectRestored = [&](Qt::Key key, const Bytes& bytes, const QImage& picture,
                                    bool undo) {
        SCOPED_TRACE(key == Qt::Key_Z ? "Ctrl+Z" : "Ctrl+Y");
        doc->SwitchPropertyView(PropertyView::kThings);
        CtrlKey(*view, key);
        EXPECT_EQ(SavedBytes(*doc), bytes);
        const QImage shown = view->GrabFrame();
        EXPECT_EQ(shown, picture);
        EXPECT_EQ(Enabled(Cmd::kEditUndo), undo);
        EXPECT_EQ(Enabled(Cmd::kEditRedo), !undo);
        EXPECT_EQ(doc->m_propertyViewId, PropertyView::kSurface);
        return shown;
    };
    const QImage pictureUndone = expectRestored(Qt::Key_Z, before, pictureBefore, false);
    expectRestored(Qt::Key_Y, edited, pictureEdited, true);

    const QDir out(QStringLiteral(QZ_TEST_OUTPUT_DIR));
    for (const auto& [name, image] : {std::pair{"qzedit_undo_before.png", &pictureBefore},
                                      std::pair{"qzedit_undo_edited.png", &pictureEdited},
                                      std::pair{"qzedit_undo_undone.png", &pictureUndone}}) {
        EXPECT_TRUE(image->save(out.filePath(QLatin1String(name))));
        std::printf("%s\n", out.filePath(QLatin1String(name)).toLocal8Bit().constData());
    }

    QPointer<CQzEditView> guardView(view);
    m_answers.push_back(QMessageBox::No);
    doc->OnCloseDocument();
    EXPECT_TRUE(QTest::qWaitFor([&] { return guardView.isNull(); }, kWaitMs));
}

}  // namespace
