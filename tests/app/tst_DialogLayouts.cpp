// Every dialog of the application lays its controls out so that each text shows whole, in the
// desktop's font and in a large one: a label or button is at least as large as it asks to be, a
// wrapped text has the height its width needs, no two controls overlap, and every control lies
// inside the dialog. Each dialog is also saved as a picture in the tests' build folder.

#include "AppTestSupport.h"

#include "app/AboutDlg.h"
#include "app/ColorsPage.h"
#include "app/ConfigurationPage.h"
#include "app/GeneralPage.h"
#include "app/ParsingSectorsDlg.h"
#include "app/QzEditDoc.h"
#include "app/SelectProductDlg.h"
#include "app/TipOfTheDayDlg.h"
#include "edit/ui/CarveSectorSurfaceDlg.h"
#include "edit/ui/MergeDlg.h"
#include "edit/ui/SplitByPolygonDlg.h"
#include "engine/ui/HiddenSectorRemovalDlg.h"
#include "framework/Settings.h"
#include "support/FixtureLevels.h"
#include "tools/ui/CreateCylinderDlg.h"
#include "tools/ui/CreateDoorDlg.h"
#include "tools/ui/CreateElevatorDlg.h"
#include "tools/ui/CreateRectangleDlg.h"
#include "tools/ui/ExpandSurfaceDlg.h"
#include "tools/ui/ExtrudeSurfaceDlg.h"
#include "ui/FlagDialogs.h"
#include "ui/SheetDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The controls whose texts must show: labels, buttons, edits and bars (not the frames and
// groups that hold them).
std::vector<QWidget*> Controls(QWidget& dialog)
{
    std::vector<QWidget*> controls;
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&dialog))
            continue;
        if (qobject_cast<QLabel*>(child) || qobject_cast<QAbstractButton*>(child) ||
            qobject_cast<QLineEdit*>(child) || qobject_cast<QProgressBar*>(child))
            controls.push_back(child);
    }
    return controls;
}

QString Describe(const QWidget* widget)
{
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        text = button->text();
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromLatin1(widget->metaObject()->className()), text.left(30),
             widget->objectName());
}

QRect InDialog(const QWidget& dialog, const QWidget* widget)
{
    return QRect(widget->mapTo(&dialog, QPoint(0, 0)), widget->size());
}

void ExpectTextsShowWhole(QWidget& dialog, const std::string& picture)
{
    dialog.show();
    QApplication::processEvents();
    dialog.grab().save(QString::fromStdString((TestOutputDir() / picture).string()));
    const std::vector<QWidget*> controls = Controls(dialog);
    ASSERT_FALSE(controls.empty());
    for (QWidget* control : controls) {
        SCOPED_TRACE(Describe(control).toStdString());
        const QSize hint = control->sizeHint();
        const auto* label = qobject_cast<QLabel*>(control);
        if (label != nullptr && label->wordWrap()) {
            EXPECT_GE(control->height(), label->heightForWidth(control->width()));
        } else if (qobject_cast<QLineEdit*>(control) == nullptr &&
                   qobject_cast<QProgressBar*>(control) == nullptr) {
            EXPECT_GE(control->width(), hint.width());
            EXPECT_GE(control->height(), hint.height());
        } else {
            EXPECT_GE(control->height(), control->minimumSizeHint().height());
        }
        EXPECT_TRUE(dialog.rect().contains(InDialog(dialog, control))) << "outside the dialog";
    }
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            if (controls[i]->isAncestorOf(controls[j]) || controls[j]->isAncestorOf(controls[i]))
                continue;
            EXPECT_FALSE(InDialog(dialog, controls[i]).intersects(InDialog(dialog, controls[j])))
                << Describe(controls[i]).toStdString() << " overlaps "
                << Describe(controls[j]).toStdString();
        }
    dialog.hide();
}

// The picture of the dialog shows text where control stands: pixels well darker than the
// dialog's background (its top left corner) inside the control's rectangle.
void ExpectTextDrawn(QWidget& dialog, int control)
{
    QWidget* widget = dialog.findChild<QWidget*>(QString::number(control));
    ASSERT_NE(widget, nullptr) << control;
    dialog.show();
    QApplication::processEvents();
    const QImage image = dialog.grab().toImage();
    const int background = image.pixelColor(0, 0).lightness();
    const QRect area = InDialog(dialog, widget).intersected(image.rect());
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).lightness() + 80 < background)
                ++dark;
    EXPECT_GT(dark, 10) << "no text drawn in control " << control;
    dialog.hide();
}

class DialogLayoutsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_font = QApplication::font();
    }

    void TearDown() override
    {
        QApplication::setFont(m_font);
        AppTest::TearDown();
    }

    // Each dialog in the desktop's font, then in one twice as large.
    void ForEachFont(const std::function<void(const std::string& font)>& check)
    {
        check("normal");
        QFont large = m_font;
        large.setPointSizeF(m_font.pointSizeF() * 2);
        QApplication::setFont(large);
        check("large");
        QApplication::setFont(m_font);
    }

    QFont m_font;
};

TEST_F(DialogLayoutsTest, TextsShowWholeInEveryFont)
{
    CQzEditApp& app = MakeApp();
    CQzEditDoc* doc = app.NewDocument();
    ASSERT_NE(doc, nullptr);
    ForEachFont([&](const std::string& font) {
        {
            SCOPED_TRACE("About " + font);
            CAboutDlg about(app, false);
            ExpectTextsShowWhole(about, "about_" + font + ".png");
        }
        {
            SCOPED_TRACE("splash " + font);
            CAboutDlg splash(app, true);
            ExpectTextsShowWhole(splash, "splash_" + font + ".png");
        }
        {
            SCOPED_TRACE("Tip of the Day " + font);
            CTipOfTheDayDlg tip(app);
            ExpectTextsShowWhole(tip, "tip_" + font + ".png");
        }
        {
            SCOPED_TRACE("Select Product " + font);
            CSelectProductDlg select(app);
            ExpectTextsShowWhole(select, "select_product_" + font + ".png");
            // "Game folder:" heads the two folder fields.
            const QLabel* label = nullptr;
            for (const QLabel* child : select.findChildren<QLabel*>())
                if (child->text() == QStringLiteral("Game folder:"))
                    label = child;
            const auto* first = select.findChild<QLineEdit*>(QStringLiteral("GameFolder0"));
            ASSERT_NE(label, nullptr);
            ASSERT_NE(first, nullptr);
            EXPECT_LE(label->geometry().bottom(), first->geometry().top());
            EXPECT_EQ(label->buddy(), first);
        }
        {
            SCOPED_TRACE("Hidden Sector Removal " + font);
            CSettings settings;
            CHiddenSectorRemovalDlg removal(settings, nullptr);
            ExpectTextsShowWhole(removal, "hidden_sector_removal_" + font + ".png");
        }
        for (int page = 0; page < 3; ++page) {
            SCOPED_TRACE("Options page " + std::to_string(page) + " " + font);
            CSheetDlg options(QStringLiteral("Options"), nullptr, page);
            options.AddPage(new CGeneralPage(*doc));
            options.AddPage(new CColorsPage(*doc));
            options.AddPage(new CConfigurationPage(app.m_settings));
            ExpectTextsShowWhole(options, "options_" + std::to_string(page) + "_" + font + ".png");
        }
        {
            SCOPED_TRACE("Merge " + font);
            CFixtureEngine engine(MakeLCorridor());
            engine.m_view.m_selection.m_sector = 1;
            CMergeDlg merge(engine.m_view, EMergeMode::Sectors);
            ExpectTextsShowWhole(merge, "merge_" + font + ".png");
            ExpectTextDrawn(merge, Ctl::kMergeLabel);
        }
        {
            SCOPED_TRACE("Split by Polygon " + font);
            CFixtureEngine engine(MakeBoxRoom());
            CSplitByPolygonDlg split(engine.m_view);
            ExpectTextsShowWhole(split, "split_by_polygon_" + font + ".png");
            ExpectTextDrawn(split, Ctl::kPolygonSnap);
        }
        {
            SCOPED_TRACE("Carve Sector/Surface " + font);
            CFixtureEngine engine(MakeBoxRoom());
            CCarveSectorSurfaceDlg carve(engine.m_view);
            ExpectTextsShowWhole(carve, "carve_" + font + ".png");
        }
        {
            SCOPED_TRACE("Extrude Surface " + font);
            CFixtureEngine engine(MakeBoxRoom());
            engine.m_view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
            CExtrudeSurfaceDlg extrude(engine.m_view, true);
            ExpectTextsShowWhole(extrude, "extrude_surface_" + font + ".png");
        }
        {
            SCOPED_TRACE("Expand Surface " + font);
            CExpandSurfaceDlg expand(CExpandBox{0.5f, 0.5f, 0.5f, 0.5f});
            ExpectTextsShowWhole(expand, "expand_surface_" + font + ".png");
        }
        for (const CFlagDialogTemplate* flags :
             {&SectorFlagsTemplate(), &SurfaceFlagsTemplate(), &FaceFlagsTemplate(),
              &AdjoinFlagsTemplate(), &ObjectFlagsTemplate()}) {
            SCOPED_TRACE(std::string(flags->caption) + " " + font);
            CFlagDialog dialog(*flags, 0xFFFFFFFFu, nullptr);
            ExpectTextsShowWhole(dialog,
                                 "flags_" + std::to_string(flags->id) + "_" + font + ".png");
        }
        {
            SCOPED_TRACE("Create Door and Create Elevator " + font);
            CFixtureEngine engine(MakeBoxRoom());
            CCreateDoorDlg door(engine.m_view);
            ExpectTextsShowWhole(door, "create_door_" + font + ".png");
            CCreateElevatorDlg elevator(engine.m_view);
            ExpectTextsShowWhole(elevator, "create_elevator_" + font + ".png");
        }
        {
            SCOPED_TRACE("Create Rectangle and Create Cylinder " + font);
            CFixtureEngine engine(MakeBoxRoom());
            engine.m_view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
            engine.m_view.m_selection.m_pickedNodes = {{0.5f, 0, 0.5f}, {0.5f, 0, 0.8f}};
            CCreateRectangleDlg rectangle(engine.m_view);
            ExpectTextsShowWhole(rectangle, "create_rectangle_" + font + ".png");
            ExpectTextDrawn(rectangle, Ctl::kShapeSnap);
            CCreateCylinderDlg cylinder(engine.m_view, Dlg::kCreateCylinder);
            ExpectTextsShowWhole(cylinder, "create_cylinder_" + font + ".png");
            ExpectTextDrawn(cylinder, Ctl::kShapeSnap);
        }
        {
            SCOPED_TRACE("Parsing Sectors " + font);
            CParsingSectorsDlg progress;
            progress.Create(nullptr, 10);
            ExpectTextsShowWhole(progress, "progress_" + font + ".png");
        }
    });
}

}  // namespace
