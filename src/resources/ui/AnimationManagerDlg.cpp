#include "resources/ui/AnimationManagerDlg.h"

#include "engine/AssetSources.h"
#include "engine/C3dView.h"
#include "engine/DecodeMaterial.h"
#include "engine/EngineHost.h"
#include "engine/MaterialCels.h"
#include "engine/Questions.h"
#include "engine/Texture.h"
#include "engine/TextureCache.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "level/LevelFiles.h"
#include "level/QzlSections.h"
#include "resources/TreeObject.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/FormFields.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

using DialogText::Button;
using DialogText::Id;

constexpr const char* kCaption = "Animation Manager";

void Message(QWidget* parent, const std::string& text)
{
    QzMessageBox(QString::fromStdString(text), QMessageBox::Ok, parent);
}

}  // namespace

CAnimationManagerDlg::CAnimationManagerDlg(C3dView& engine, const std::string& animation,
                                           QWidget* parent)
    : QDialog(parent), m_engine(engine), m_strAnimation(animation)
{
    setObjectName(Id(Dlg::kAnimationManager));
    setWindowTitle(QString::fromLatin1(kCaption));

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(Id(Ctl::kAnimFrames));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_palette = new QComboBox(this);
    m_palette->setObjectName(Id(Ctl::kAnimPalette));
    m_width = new QLineEdit(this);
    m_width->setObjectName(Id(Ctl::kAnimWidth));
    m_width->setReadOnly(true);
    m_height = new QLineEdit(this);
    m_height->setObjectName(Id(Ctl::kAnimHeight));
    m_height->setReadOnly(true);
    m_fps = new QLineEdit(QString::number(m_nFps), this);
    m_fps->setObjectName(Id(Ctl::kAnimFps));

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFixedSize(DialogUnits(*this, 120, 120));
    m_pPreview = new CPreviewWidget(engine, frame);
    m_pPreview->setObjectName(Id(Ctl::kAnimPreview));
    m_pPreview->SetAfterShown([this](C3dView& preview) { PutFramesIntoPreview(preview); });
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    frameLayout->addWidget(m_pPreview);

    auto* ok = Button(this, "&Ok", Ctl::kOk);
    auto* help = Button(this, "&Help", Ctl::kHelp);
    auto* add = Button(this, "&Add", Ctl::kAnimAdd);
    m_delete = Button(this, "&Delete", Ctl::kAnimDelete);
    m_save = Button(this, "&Save", Ctl::kAnimSave);
    m_up = Button(this, "&Up", Ctl::kAnimUp);
    m_down = Button(this, "&Down", Ctl::kAnimDown);
    m_play = Button(this, "&Play", Ctl::kAnimPlay);
    connect(ok, &QPushButton::clicked, this, &CAnimationManagerDlg::accept);
    connect(help, &QPushButton::clicked, this, [] { QzHelp(Dlg::kAnimationManager); });
    connect(add, &QPushButton::clicked, this, &CAnimationManagerDlg::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CAnimationManagerDlg::OnDelete);
    connect(m_save, &QPushButton::clicked, this, &CAnimationManagerDlg::OnSave);
    connect(m_up, &QPushButton::clicked, this, &CAnimationManagerDlg::OnUp);
    connect(m_down, &QPushButton::clicked, this, &CAnimationManagerDlg::OnDown);
    connect(m_play, &QPushButton::clicked, this, &CAnimationManagerDlg::OnPlay);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { OnFrameChosen(item); });
    connect(m_palette, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            ShowFrame();
    });
    connect(&m_timer, &QTimer::timeout, this, &CAnimationManagerDlg::OnTimer);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Frames:"), this), 0, 0, 1, 2);
    fields->addWidget(m_tree, 1, 0, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("Palette:"), this), 2, 0);
    fields->addWidget(m_palette, 2, 1);
    fields->addWidget(new QLabel(QStringLiteral("X:"), this), 3, 0);
    fields->addWidget(m_width, 3, 1);
    fields->addWidget(new QLabel(QStringLiteral("Y:"), this), 4, 0);
    fields->addWidget(m_height, 4, 1);
    fields->addWidget(new QLabel(QStringLiteral("FPS:"), this), 5, 0);
    fields->addWidget(m_fps, 5, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {ok, help, add, m_delete, m_save, m_up, m_down, m_play})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(fields);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);

    // The level's colour maps, lower-cased, the first chosen.
    m_filling = true;
    for (const std::string& name : m_engine.GetLevel().m_colormaps)
        m_palette->addItem(QString::fromStdString(ToLowerAscii(name)));
    m_palette->setCurrentIndex(0);
    m_filling = false;
    m_delete->setEnabled(false);
    m_up->setEnabled(false);
    m_down->setEnabled(false);
    Refresh();
}

CAnimationManagerDlg::~CAnimationManagerDlg()
{
    m_timer.stop();
    // The preview outlives this object's members (it goes with the widget's children).
    m_pPreview->SetAfterShown({});
}

void CAnimationManagerDlg::accept()
{
    Stop();
    QDialog::accept();
}

void CAnimationManagerDlg::reject()
{
    Stop();
    QDialog::reject();
}

void CAnimationManagerDlg::Stop()
{
    m_timer.stop();
    m_bPlaying = false;
}

std::string CAnimationManagerDlg::ColorMap() const
{
    return m_palette->currentText().toStdString();
}

bool CAnimationManagerDlg::LoadImage()
{
    m_image = CBitmapImage{};
    CQzlSections& level = m_engine.GetLevel();
    const CTreeObject* file = FindLevelFile(level.m_levelFiles, m_strAnimation);
    if (file == nullptr || !file->m_data)
        return false;
    const CAssetSources sources{&m_engine.GetGame(), &level.m_levelFiles};
    try {
        // The bytes the entry claims, checked against those it holds.
        m_image.ReadMat(LevelFileBytes(*file), FindColorMap(sources, ColorMap()).GetPalette(),
                        file->m_name);
    } catch (const std::exception& e) {
        Message(this, e.what());
        return false;
    }
    return true;
}

void CAnimationManagerDlg::Refresh()
{
    m_strAnimation = ToLowerAscii(m_strAnimation);
    m_filling = true;
    m_tree->clear();
    m_filling = false;
    if (!LoadImage()) {
        m_nWidth = m_nHeight = 0;
        m_nFrame = -1;
        m_width->setText(QStringLiteral("0"));
        m_height->setText(QStringLiteral("0"));
        setWindowTitle(QString::fromLatin1(kCaption));
        EnableButtons();
        return;
    }
    m_nWidth = m_image.GetWidth();
    m_nHeight = m_image.GetHeight();
    m_nFrame = 0;
    m_width->setText(QString::number(m_nWidth));
    m_height->setText(QString::number(m_nHeight));

    m_filling = true;
    auto* root = new QTreeWidgetItem(m_tree, {QStringLiteral("Bitmaps")});
    root->setData(0, Qt::UserRole, -1);
    for (int d = 1; d <= m_image.GetCelCount(); ++d) {
        auto* item = new QTreeWidgetItem(root, {QStringLiteral("Frame %1").arg(d)});
        item->setData(0, Qt::UserRole, d - 1);
    }
    m_tree->scrollToItem(root);
    m_tree->setFocus();
    root->setExpanded(true);
    m_tree->setCurrentItem(root->child(0));
    m_filling = false;

    setWindowTitle(QString::fromLatin1(kCaption) + QStringLiteral(" - ") +
                   QString::fromStdString(m_strAnimation));
    ShowFrame();
}

void CAnimationManagerDlg::EnableButtons()
{
    const int count = m_image.IsEmpty() ? 0 : m_image.GetCelCount();
    const bool frames = count > 0;
    m_delete->setEnabled(frames);
    m_save->setEnabled(frames);
    m_play->setEnabled(frames);
    m_up->setEnabled(frames && m_nFrame > 0);
    m_down->setEnabled(frames && m_nFrame < count - 1);
}

CTexture* CAnimationManagerDlg::PreviewTexture(C3dView& preview) const
{
    const CAssetSources sources{&preview.GetGame(), &preview.GetLevel().m_levelFiles};
    return preview.m_textureCache->GetTexture(sources, m_strAnimation, ColorMap());
}

void CAnimationManagerDlg::PutFramesIntoPreview(C3dView& preview)
{
    // The preview's texture takes the level file's frames and shows the current one; this runs
    // again whenever the preview loads its texture anew (a new device).
    CTexture* texture = m_image.IsEmpty() ? nullptr : PreviewTexture(preview);
    if (texture == nullptr)
        return;
    texture->m_image = std::make_unique<CBitmapImage>(m_image);
    texture->m_width = m_image.GetWidth();
    texture->m_height = m_image.GetHeight();
    texture->m_restartCel = 0;
    if (texture->m_device != nullptr)
        preview.m_textureCache->CreateTextureSurface(*texture);
    texture->m_currentCel = m_shownCel - 1;
    texture->UploadNextCel();
}

void CAnimationManagerDlg::ShowFrame()
{
    if (m_image.IsEmpty() || !LoadImage())
        return;
    m_shownCel = m_nFrame;
    m_pPreview->ShowMaterial(m_strAnimation, ColorMap());
    EnableButtons();
}

void CAnimationManagerDlg::OnFrameChosen(QTreeWidgetItem* item)
{
    if (m_filling || item == nullptr)
        return;
    const int number = item->data(0, Qt::UserRole).toInt();
    if (number < 0)
        return;
    m_nFrame = number;
    Stop();
    ShowFrame();
}

void CAnimationManagerDlg::OnPlay()
{
    CFieldExchange dx(*this, CFieldExchange::EDirection::FromControls);
    int fps = m_nFps;
    dx.Int(Ctl::kAnimFps, fps);
    dx.IntRange(Ctl::kAnimFps, fps, 1, 10);
    if (!dx.Ok())
        return;
    m_nFps = fps;
    if (m_bPlaying) {
        Stop();
        return;
    }
    if (m_image.IsEmpty())
        return;
    m_timer.start(1000 / m_nFps);
    m_bPlaying = true;
    ShowFrame();
}

void CAnimationManagerDlg::OnTimer()
{
    if (m_image.IsEmpty())
        return;
    m_pPreview->RunInContext([this](C3dView& preview) {
        if (CTexture* texture = PreviewTexture(preview)) {
            texture->UploadNextCel();
            m_shownCel = texture->m_currentCel;
        }
    });
}

bool CAnimationManagerDlg::StoreImage()
{
    try {
        if (!StoreMaterialFile(m_engine.GetLevel().m_levelFiles, m_strAnimation, m_image))
            return false;
    } catch (const std::exception& e) {
        Message(this, e.what());
        return false;
    }
    m_engine.GetHost().SetModifiedFlag(true);
    return true;
}

void CAnimationManagerDlg::OnAdd()
{
    Stop();
    const QString chosen = QzGetOpenFileName(
        this, QStringLiteral("Add"),
        QStringLiteral("MAT Files (*.mat)|*.mat|BMP Files (*.bmp)|*.bmp||"), QStringLiteral("MAT"));
    if (chosen.isEmpty())
        return;
    CQzlSections& level = m_engine.GetLevel();
    const CAssetSources sources{&m_engine.GetGame(), &level.m_levelFiles};
    CAddedCels added;
    try {
        // The path is opened as given; only the name the level file takes is lower-cased.
        const std::string path = chosen.toStdString();
        added = ReadAddedCels(ReadFileBytes(path), path,
                              FindColorMap(sources, ColorMap()).GetPalette());
    } catch (const std::exception& e) {
        Message(this, e.what());
        return;
    }

    if (FindLevelFile(level.m_levelFiles, m_strAnimation) != nullptr) {
        if (!LoadImage())
            return;
        if (!AppendCels(m_image, added.m_image)) {
            Message(this, "Cannot add file due to mismatch in image size.");
            return;
        }
        if (!StoreImage())
            return;
    } else {
        const bool exists = FindLevelFile(level.m_levelFiles, added.m_name) != nullptr ||
                            std::any_of(level.m_levelFiles.m_entries.begin(),
                                        level.m_levelFiles.m_entries.end(), [&](const auto& e) {
                                            return EqualsNoCase(e->m_path, "mat\\" + added.m_name);
                                        });
        if (exists && !Confirm(m_engine, "The item \"" + added.m_name +
                                             "\" already exist. Do you want to overwrite the "
                                             "existing item?"))
            return;
        try {
            AddMaterialFile(level.m_levelFiles, added.m_name, added.m_image);
        } catch (const std::exception& e) {
            Message(this, e.what());
            return;
        }
        m_engine.GetHost().SetModifiedFlag(true);
        m_strAnimation = added.m_name;
    }
    Refresh();
}

void CAnimationManagerDlg::OnDelete()
{
    Stop();
    if (!LoadImage())
        return;
    if (m_image.GetCelCount() <= 1) {
        Message(this, "Cannot delete Frame " + std::to_string(m_nFrame + 1) +
                          ", since an image must have at least one frame.");
        return;
    }
    if (!Confirm(m_engine,
                 "Are you sure you want to delete Frame " + std::to_string(m_nFrame + 1) + "?"))
        return;
    if (DeleteCel(m_image, m_nFrame) && StoreImage())
        Refresh();
}

void CAnimationManagerDlg::Swap(int neighbour)
{
    Stop();
    if (!LoadImage())
        return;
    if (SwapCels(m_image, m_nFrame, neighbour) && StoreImage())
        Refresh();
}

void CAnimationManagerDlg::OnUp()
{
    Swap(m_nFrame - 1);
}

void CAnimationManagerDlg::OnDown()
{
    Swap(m_nFrame + 1);
}

void CAnimationManagerDlg::OnSave()
{
    Stop();
    if (!LoadImage())
        return;
    const QString path =
        QzGetSaveFileName(this, QStringLiteral("Save"), QStringLiteral("MAT Files (*.mat)|*.mat||"),
                          QStringLiteral("MAT"));
    if (path.isEmpty())
        return;
    try {
        WriteFileAtomic(path.toStdString(), m_image.WriteMat());
    } catch (const std::exception& e) {
        Message(this, e.what());
    }
}
