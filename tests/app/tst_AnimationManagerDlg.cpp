// The "Animation Manager" dialog driven by control id over a box room whose own files hold an
// animated material: the frame tree and sizes, choosing, moving and deleting frames, appending
// the frames of a MAT or a BMP file (and making a new level file), saving, and playing at
// 1000 / FPS ms with the preview's texture stepping through the frames.

#include "AppTestSupport.h"

#include "engine/ColorMap.h"
#include "engine/MaterialCels.h"
#include "engine/Texture.h"
#include "engine/TextureCache.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/FileIO.h"
#include "resources/ui/AnimationManagerDlg.h"
#include "support/FixtureLevels.h"

#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <string>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

// An image of width x height whose cel c is filled with marks[c].
CBitmapImage Cels(const std::vector<std::uint8_t>& marks, int width = 64, int height = 32)
{
    CBitmapImage image;
    const std::vector<std::uint8_t> first(static_cast<std::size_t>(width * height), marks[0]);
    image.CreateFromBits(CColorMap::GreyRamp(), first, width, height, 8);
    for (std::size_t c = 1; c < marks.size(); ++c) {
        CBitmapImage next;
        next.CreateFromBits(CColorMap::GreyRamp(),
                            std::vector<std::uint8_t>(first.size(), marks[c]), width, height, 8);
        EXPECT_TRUE(AppendCels(image, next));
    }
    return image;
}

class AnimationManagerDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        AddMaterialFile(Files(), "fire.mat", Cels({10, 20, 30}));
        m_engine.m_host.m_settings = &m_engine.m_settings;
    }

    CTree& Files() { return m_engine.m_level.m_levelFiles; }

    // The frame marks of the level file named name.
    std::vector<std::uint8_t> Marks(const char* name)
    {
        std::vector<std::uint8_t> marks;
        const CTreeObject* file = FindLevelFile(Files(), name);
        if (file == nullptr || !file->m_data) {
            ADD_FAILURE() << name;
            return marks;
        }
        CBitmapImage image;
        image.ReadMat(*file->m_data, CColorMap::GreyRamp(), name);
        for (int c = 0; c < image.GetCelCount(); ++c)
            marks.push_back(image.GetPixel(c, 0, 0));
        return marks;
    }

    static QStringList Frames(CAnimationManagerDlg& dialog)
    {
        QStringList texts;
        auto* tree = Control<QTreeWidget>(dialog, Ctl::kAnimFrames);
        if (tree->topLevelItemCount() == 0)
            return texts;
        QTreeWidgetItem* root = tree->topLevelItem(0);
        texts << root->text(0);
        for (int i = 0; i < root->childCount(); ++i)
            texts << root->child(i)->text(0);
        return texts;
    }
    static void Choose(CAnimationManagerDlg& dialog, int frame)
    {
        auto* tree = Control<QTreeWidget>(dialog, Ctl::kAnimFrames);
        tree->setCurrentItem(tree->topLevelItem(0)->child(frame));
    }
    static QString Current(CAnimationManagerDlg& dialog)
    {
        const QTreeWidgetItem* item = Control<QTreeWidget>(dialog, Ctl::kAnimFrames)->currentItem();
        return item != nullptr ? item->text(0) : QString();
    }
    static bool Enabled(CAnimationManagerDlg& dialog, int id)
    {
        return Control<QWidget>(dialog, id)->isEnabled();
    }
    // The cel the preview's texture shows.
    static int PreviewCel(CAnimationManagerDlg& dialog)
    {
        C3dView& preview = dialog.Preview().Engine();
        const CAssetSources sources{&preview.GetGame(), &preview.GetLevel().m_levelFiles};
        const CTexture* texture =
            preview.m_textureCache->GetTexture(sources, dialog.Animation(), "dflt.cmp");
        return texture != nullptr ? texture->m_currentCel : -100;
    }
    // Writes bytes to a file of the test's folder and queues it as the next file dialog's answer.
    void AnswerFile(const char* name, const std::vector<std::uint8_t>& bytes)
    {
        const std::filesystem::path path = Temp() / name;
        WriteFileAtomic(path, bytes);
        m_fileAnswers.push_back(QString::fromStdString(path.string()));
    }

    CFixtureEngine m_engine{MakeBoxRoom()};
};

TEST_F(AnimationManagerDlgTest, ListsTheFramesAndFollowsTheChosenOne)
{
    CAnimationManagerDlg dialog(m_engine.m_view, "FIRE.MAT");
    EXPECT_EQ(dialog.objectName(), Id(Dlg::kAnimationManager));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Animation Manager - fire.mat"));
    EXPECT_EQ(Frames(dialog), (QStringList{"Bitmaps", "Frame 1", "Frame 2", "Frame 3"}));
    EXPECT_EQ(Current(dialog), QStringLiteral("Frame 1"));
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kAnimWidth)->text(), QStringLiteral("64"));
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kAnimHeight)->text(), QStringLiteral("32"));
    EXPECT_TRUE(Control<QLineEdit>(dialog, Ctl::kAnimWidth)->isReadOnly());
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kAnimFps)->text(), QStringLiteral("5"));
    EXPECT_EQ(Control<QComboBox>(dialog, Ctl::kAnimPalette)->currentText(),
              QStringLiteral("dflt.cmp"));
    EXPECT_NE(Control<CPreviewWidget>(dialog, Ctl::kAnimPreview), nullptr);
    for (const int id : {Ctl::kOk, Ctl::kHelp, Ctl::kAnimAdd})
        EXPECT_TRUE(Enabled(dialog, id)) << id;
    EXPECT_FALSE(Enabled(dialog, Ctl::kAnimUp));
    EXPECT_TRUE(Enabled(dialog, Ctl::kAnimDown));
    EXPECT_EQ(PreviewCel(dialog), 0);

    // The last frame: Down is off, Up on; the preview shows it. The root item changes nothing.
    Choose(dialog, 2);
    EXPECT_EQ(dialog.Frame(), 2);
    EXPECT_TRUE(Enabled(dialog, Ctl::kAnimUp));
    EXPECT_FALSE(Enabled(dialog, Ctl::kAnimDown));
    EXPECT_EQ(PreviewCel(dialog), 2);
    auto* tree = Control<QTreeWidget>(dialog, Ctl::kAnimFrames);
    tree->setCurrentItem(tree->topLevelItem(0));
    EXPECT_EQ(dialog.Frame(), 2);
    EXPECT_EQ(m_engine.m_host.Count(ECall::SetModifiedFlag), 0U);
}

TEST_F(AnimationManagerDlgTest, MovesAndDeletesFramesInTheLevelFile)
{
    CAnimationManagerDlg dialog(m_engine.m_view, "fire.mat");
    Click(dialog, Ctl::kAnimDown);
    EXPECT_EQ(Marks("fire.mat"), (std::vector<std::uint8_t>{20, 10, 30}));
    EXPECT_EQ(Current(dialog), QStringLiteral("Frame 1"));
    Choose(dialog, 2);
    Click(dialog, Ctl::kAnimUp);
    EXPECT_EQ(Marks("fire.mat"), (std::vector<std::uint8_t>{20, 30, 10}));

    // Deleting the second of three, after the question; a No changes nothing.
    Choose(dialog, 1);
    m_engine.m_host.ScriptAnswers({false});
    Click(dialog, Ctl::kAnimDelete);
    EXPECT_EQ(Marks("fire.mat").size(), 3U);
    Choose(dialog, 1);
    Click(dialog, Ctl::kAnimDelete);
    EXPECT_EQ(m_engine.m_host.Questions(),
              (std::vector<std::string>{"Are you sure you want to delete Frame 2?",
                                        "Are you sure you want to delete Frame 2?"}));
    EXPECT_EQ(Marks("fire.mat"), (std::vector<std::uint8_t>{20, 10}));
    EXPECT_EQ(Frames(dialog), (QStringList{"Bitmaps", "Frame 1", "Frame 2"}));
    EXPECT_EQ(Current(dialog), QStringLiteral("Frame 1"));

    // Without "Warning" there is no question; the last frame stays.
    m_engine.m_settings.m_warning = 0;
    Click(dialog, Ctl::kAnimDelete);
    EXPECT_EQ(Marks("fire.mat"), (std::vector<std::uint8_t>{10}));
    Click(dialog, Ctl::kAnimDelete);
    EXPECT_EQ(m_messages, (QStringList{QStringLiteral(
                              "Cannot delete Frame 1, since an image must have at least one "
                              "frame.")}));
    EXPECT_EQ(Marks("fire.mat"), (std::vector<std::uint8_t>{10}));
    EXPECT_EQ(m_engine.m_host.Questions().size(), 2U);
    // Every edit marked the document modified, and the offsets follow the sizes.
    EXPECT_EQ(m_engine.m_host.Numbers(ECall::SetModifiedFlag), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(Files().m_entries.size(), 1U);
    EXPECT_EQ(Files().m_entries[0]->m_size,
              static_cast<std::int32_t>(Files().m_entries[0]->m_data->size()));

    // Save writes the level file's bytes.
    const std::filesystem::path saved = Temp() / "saved.mat";
    m_fileAnswers.push_back(QString::fromStdString(saved.string()));
    Click(dialog, Ctl::kAnimSave);
    EXPECT_EQ(ReadFileBytes(saved), *Files().m_entries[0]->m_data);
}

TEST_F(AnimationManagerDlgTest, AddsFramesAndMakesNewLevelFiles)
{
    CAnimationManagerDlg dialog(m_engine.m_view, "fire.mat");
    // Two frames of the same size are appended.
    AnswerFile("More.MAT", Cels({40, 50}).WriteMat());
    Click(dialog, Ctl::kAnimAdd);
    EXPECT_EQ(Marks("fire.mat"), (std::vector<std::uint8_t>{10, 20, 30, 40, 50}));
    EXPECT_EQ(Frames(dialog).size(), 6);

    // Another size, a damaged file and Cancel change nothing.
    AnswerFile("big.mat", Cels({1}, 64, 64).WriteMat());
    Click(dialog, Ctl::kAnimAdd);
    AnswerFile("cut.mat", std::vector<std::uint8_t>(80, 0));
    Click(dialog, Ctl::kAnimAdd);
    Click(dialog, Ctl::kAnimAdd);
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_EQ(m_messages[0], QStringLiteral("Cannot add file due to mismatch in image size."));
    EXPECT_TRUE(m_messages[1].contains(QStringLiteral("cut.mat"))) << m_messages[1].toStdString();
    EXPECT_EQ(Marks("fire.mat").size(), 5U);
    EXPECT_EQ(m_engine.m_host.Numbers(ECall::SetModifiedFlag), (std::vector<int>{1}));
}

TEST_F(AnimationManagerDlgTest, FirstAddOfANewNameMakesALevelFile)
{
    CAnimationManagerDlg dialog(m_engine.m_view, "");
    // Nothing is managed yet: an empty tree and only Add to press.
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Animation Manager"));
    EXPECT_TRUE(Frames(dialog).isEmpty());
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kAnimWidth)->text(), QStringLiteral("0"));
    for (const int id :
         {Ctl::kAnimDelete, Ctl::kAnimSave, Ctl::kAnimUp, Ctl::kAnimDown, Ctl::kAnimPlay})
        EXPECT_FALSE(Enabled(dialog, id)) << id;

    // A BMP named with two dots becomes wall.mat under "mat\".
    AnswerFile("Wall.Old.bmp", Cels({77}, 16, 8).WriteBmp());
    Click(dialog, Ctl::kAnimAdd);
    EXPECT_EQ(dialog.Animation(), "wall.mat");
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Animation Manager - wall.mat"));
    const CTreeObject* wall = FindLevelFile(Files(), "wall.mat");
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->m_path, "mat\\wall.mat");
    EXPECT_EQ(Marks("wall.mat"), (std::vector<std::uint8_t>{77}));
    EXPECT_EQ(Control<QLineEdit>(dialog, Ctl::kAnimWidth)->text(), QStringLiteral("16"));

    // A name that is already a level file asks first; No keeps it.
    CAnimationManagerDlg other(m_engine.m_view, "none.mat");
    m_engine.m_host.ScriptAnswers({false});
    AnswerFile("fire.mat", Cels({99}).WriteMat());
    Click(other, Ctl::kAnimAdd);
    EXPECT_EQ(m_engine.m_host.Questions(),
              (std::vector<std::string>{"The item \"fire.mat\" already exist. Do you want to "
                                        "overwrite the existing item?"}));
    EXPECT_EQ(Marks("fire.mat"), (std::vector<std::uint8_t>{10, 20, 30}));
    EXPECT_EQ(other.Animation(), "none.mat");
    m_fileAnswers.push_back(QString::fromStdString((Temp() / "fire.mat").string()));
    Click(other, Ctl::kAnimAdd);
    EXPECT_EQ(Marks("fire.mat"), (std::vector<std::uint8_t>{99}));
    EXPECT_EQ(Files().m_entries.size(), 2U);
    EXPECT_EQ(other.Animation(), "fire.mat");
}

TEST_F(AnimationManagerDlgTest, PlaysAtTheRateOfFps)
{
    CAnimationManagerDlg dialog(m_engine.m_view, "fire.mat");
    auto* fps = Control<QLineEdit>(dialog, Ctl::kAnimFps);
    for (const char* bad : {"0", "11", "x"}) {
        m_messages.clear();
        fps->setText(QString::fromLatin1(bad));
        Click(dialog, Ctl::kAnimPlay);
        EXPECT_FALSE(dialog.Playing()) << bad;
        ASSERT_EQ(m_messages.size(), 1) << bad;
    }
    EXPECT_EQ(m_messages[0], QStringLiteral("Please enter an integer."));
    struct Case {
        const char* fps;
        int ms;
    };
    for (const Case c : {Case{"10", 100}, Case{"3", 333}, Case{"1", 1000}}) {
        fps->setText(QString::fromLatin1(c.fps));
        Click(dialog, Ctl::kAnimPlay);
        EXPECT_TRUE(dialog.Playing());
        EXPECT_TRUE(dialog.Timer().isActive());
        EXPECT_EQ(dialog.Timer().interval(), c.ms) << c.fps;
        Click(dialog, Ctl::kAnimPlay);
        EXPECT_FALSE(dialog.Playing());
        EXPECT_FALSE(dialog.Timer().isActive());
    }

    // At 10 FPS the preview steps through the frames and starts again; the tree stays.
    fps->setText(QStringLiteral("10"));
    Click(dialog, Ctl::kAnimPlay);
    std::vector<int> seen;
    QEventLoop loop;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        const int cel = PreviewCel(dialog);
        if (seen.empty() || seen.back() != cel)
            seen.push_back(cel);
        if (seen.size() >= 5)
            loop.quit();
    });
    watch.start(10);
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_EQ(dialog.Frame(), 0);
    EXPECT_EQ(Current(dialog), QStringLiteral("Frame 1"));

    // Choosing a frame stops the playing, as does closing.
    Choose(dialog, 1);
    EXPECT_FALSE(dialog.Timer().isActive());
    Click(dialog, Ctl::kAnimPlay);
    EXPECT_TRUE(dialog.Playing());
    dialog.reject();
    EXPECT_FALSE(dialog.Timer().isActive());
    EXPECT_FALSE(dialog.Playing());
}

}  // namespace
