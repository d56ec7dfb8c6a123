#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "resources/ui/TemplateDlg.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>

#include <system_error>
#include <utility>

QString Id(int id)
{
    return QString::number(id);
}

void Click(QWidget& dialog, int id)
{
    if (auto* button = Control<QAbstractButton>(dialog, id))
        button->click();
    QApplication::processEvents();
}

void ClickSpin(QWidget& dialog, int id, const char* arrow)
{
    QWidget* spin = Control<QWidget>(dialog, id);
    ASSERT_NE(spin, nullptr);
    auto* button = spin->findChild<QToolButton*>(QString::fromLatin1(arrow));
    ASSERT_NE(button, nullptr) << arrow;
    button->click();
}

void ExpectSpinSteps(const std::function<std::unique_ptr<QWidget>()>& make,
                     std::initializer_list<CSpinStep> steps)
{
    for (const CSpinStep& step : steps) {
        SCOPED_TRACE(std::string(step.start) + " " + step.arrow);
        const std::unique_ptr<QWidget> dialog = make();
        QLineEdit* edit = Control<QLineEdit>(*dialog, step.edit);
        ASSERT_NE(edit, nullptr);
        edit->setText(QString::fromLatin1(step.start));
        ClickSpin(*dialog, step.spin, step.arrow);
        EXPECT_EQ(edit->text(), QString::fromLatin1(step.want));
    }
}

void TriggerCommand(CMainFrame& frame, int id)
{
    frame.UpdateCommandUI();
    QAction* action = frame.Action(id);
    ASSERT_NE(action, nullptr) << id;
    action->trigger();
    QApplication::processEvents();
}

CModalAnswer::CModalAnswer(std::function<void(QWidget& dialog)> answer)
{
    m_timer.setInterval(20);
    QObject::connect(&m_timer, &QTimer::timeout, [this, answer = std::move(answer)] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr)
            return;
        m_timer.stop();
        m_answered = true;
        answer(*dialog);
    });
    m_timer.start();
}

QString Item(const char* text, int id)
{
    return QString::fromUtf8(text) + QLatin1Char('#') + Id(id);
}

void ForEachPopup(int menu, const std::function<void(const CMenuPopup&)>& visit)
{
    const auto walk = [&visit](const auto& self, const CMenuPopup& popup) -> void {
        visit(popup);
        for (const CMenuPopup& sub : popup.m_subMenus)
            self(self, sub);
    };
    for (const CMenuPopup& popup : MenuPopups(menu))
        walk(walk, popup);
}

void OnModalWidget(QObject* owner, std::function<bool(QWidget*)> act)
{
    auto* timer = new QTimer(owner);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
        QWidget* widget = QApplication::activeModalWidget();
        if (widget == nullptr)
            return;
        // Stopped before act, which may run a modal loop of its own.
        timer->stop();
        if (act(widget))
            timer->deleteLater();
        else
            timer->start();
    });
    timer->start();
}

void OnPicker(QObject* owner, std::function<void(QDialog&)> act)
{
    OnModalWidget(owner, [act = std::move(act)](QWidget* widget) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog == nullptr || dialog->objectName() != Id(Dlg::kMaterials))
            return false;
        act(*dialog);
        return true;
    });
}

std::function<void(QDialog&)> PickerChoose(const QString& text, QString* caption)
{
    return [text, caption](QDialog& dialog) {
        if (caption != nullptr)
            *caption = dialog.windowTitle();
        ChooseInList(dialog, Ctl::kMaterialsList, text);
    };
}

void PickerCancel(QDialog& dialog)
{
    dialog.findChild<QPushButton*>(Id(Ctl::kCancel))->click();
}

void OnTemplateDlg(QObject* owner, std::function<void(CTemplateDlg&)> act)
{
    OnModal<CTemplateDlg>(owner, std::move(act));
}

std::function<void(CTemplateDlg&)> TemplateChoose(const QString& text, QString* caption)
{
    return [text, caption](CTemplateDlg& dialog) {
        if (caption != nullptr)
            *caption = dialog.windowTitle();
        auto* tree = dialog.findChild<QTreeWidget*>(Id(Ctl::kTemplateTree));
        const QList<QTreeWidgetItem*> found =
            tree != nullptr ? tree->findItems(text, Qt::MatchFixedString | Qt::MatchRecursive)
                            : QList<QTreeWidgetItem*>();
        if (found.isEmpty()) {
            ADD_FAILURE() << "not in the tree: " << text.toStdString();
            dialog.reject();
            return;
        }
        tree->setCurrentItem(found.front());
        dialog.findChild<QPushButton*>(Id(Ctl::kOk))->click();
    };
}

void TemplateCancel(CTemplateDlg& dialog)
{
    dialog.findChild<QPushButton*>(Id(Ctl::kCancel))->click();
}

void ChooseInList(QWidget& dialog, int listId, const QString& text)
{
    auto* list = dialog.findChild<QListWidget*>(Id(listId));
    const QList<QListWidgetItem*> found =
        list != nullptr ? list->findItems(text, Qt::MatchExactly) : QList<QListWidgetItem*>();
    if (found.isEmpty()) {
        ADD_FAILURE() << "not listed: " << text.toStdString();
        dialog.findChild<QPushButton*>(Id(Ctl::kCancel))->click();
        return;
    }
    list->setCurrentItem(found.front());
    dialog.findChild<QPushButton*>(Id(Ctl::kOk))->click();
}

void EnsureQApplication()
{
    static int argc = 1;
    static char name[] = "qz_test_app";
    static char* argv[] = {name, nullptr};
    // Made once and kept to the end of the process: destroying it at static exit, after the
    // platform plugin is gone, would crash.
    static QApplication* app = nullptr;
    if (QApplication::instance() == nullptr)
        app = new QApplication(argc, argv);
    (void)app;
}

std::filesystem::path TestGameDir()
{
    return QZ_TEST_GAME_DIR;
}
std::filesystem::path TestResDir()
{
    return QZ_TEST_RES_DIR;
}
std::filesystem::path TestOutputDir()
{
    return QZ_TEST_OUTPUT_DIR;
}

void AppTest::SetUp()
{
    EnsureQApplication();
    ASSERT_TRUE(m_temp.isValid());
    std::error_code error;
    std::filesystem::copy(TestResDir(), ProgramDir(), std::filesystem::copy_options::recursive,
                          error);
    ASSERT_FALSE(error) << error.message();
    m_oldMessageHook =
        SetMessageBoxHook([this](const QString& text, QMessageBox::StandardButtons buttons) {
            m_messages.push_back(text);
            if (!buttons.testFlag(QMessageBox::Yes))
                return QMessageBox::Ok;
            if (m_answers.empty())
                return QMessageBox::Yes;
            const QMessageBox::StandardButton answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        });
    m_oldFileHook = SetFileDialogHook([this](CFileDialogRequest& request) {
        m_fileDialogs.push_back(request.title);
        if (m_fileAnswers.empty())
            return QString();
        QString path = m_fileAnswers.front();
        m_fileAnswers.pop_front();
        return path;
    });
}

void AppTest::TearDown()
{
    DropEngine();
    m_app.reset();
    QApplication::processEvents();
    SetMessageBoxHook(m_oldMessageHook);
    SetFileDialogHook(m_oldFileHook);
}

CAppOptions AppTest::TestOptions()
{
    CAppOptions options;
    options.m_showSplash = false;
    // A test that shows the splash does not wait the user's three seconds.
    options.m_splashMilliseconds = 50;
    options.m_showTip = false;
    options.m_showMainFrame = false;
    options.m_openSound = false;
    return options;
}

CQzEditApp& AppTest::MakeApp(CAppOptions options, bool init)
{
    if (options.m_settingsFile.isEmpty())
        options.m_settingsFile = SettingsFile();
    if (options.m_programDir.empty())
        options.m_programDir = ProgramDir();
    if (options.m_defaultGameDir.empty())
        options.m_defaultGameDir = TestGameDir();
    if (options.m_userDataDir.empty())
        options.m_userDataDir = UserDataDir();
    m_app = std::make_unique<CQzEditApp>(options);
    if (init) {
        EXPECT_TRUE(m_app->InitInstance());
    }
    return *m_app;
}

void AppTest::EndApp()
{
    if (m_app)
        m_app->ExitInstance();
    m_app.reset();
    QApplication::processEvents();
}

CQzEditDoc* AppTest::StartShownWithDocument()
{
    MakeApp();
    CMainFrame* frame = m_app->m_pMainFrame;
    if (frame == nullptr)
        return nullptr;
    frame->show();
    frame->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(frame));
    return m_app->NewDocument();
}

bool AppTest::FocusView3d(CQzEditDoc& doc)
{
    CMainFrame* frame = m_app->m_pMainFrame;
    CQzEditView* view = doc.Frame() != nullptr ? doc.Frame()->View3d() : nullptr;
    if (frame == nullptr || view == nullptr)
        return false;
    view->setFocus(Qt::OtherFocusReason);
    constexpr int kWaitMs = 5000;
    return QTest::qWaitFor(
        [&] { return view->hasFocus() && frame->AcceleratorTable() == AccelTable::kView; },
        kWaitMs);
}

void SavePictures(std::initializer_list<std::pair<const char*, const QImage*>> pictures)
{
    for (const auto& [name, image] : pictures) {
        const std::string path = (TestOutputDir() / name).string();
        EXPECT_TRUE(image->save(QString::fromStdString(path))) << path;
        std::printf("%s\n", path.c_str());
    }
}

void AppTest::CloseWithoutSaving(CQzEditDoc& doc)
{
    QPointer<CQzEditView> view(doc.Frame() != nullptr ? doc.Frame()->View3d() : nullptr);
    m_answers.push_back(QMessageBox::No);
    doc.OnCloseDocument();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.isNull(); }, 20000));
}

C3dView& AppTest::GiveDocumentEngine(CQzEditDoc& doc, CQzlSections level)
{
    DropEngine();
    *doc.m_level = std::move(level);
    m_engine = std::make_unique<C3dView>(*doc.m_level, m_app->m_settings, doc.m_state,
                                         m_app->m_product.m_resources, doc, m_app->Keys(),
                                         m_app->GetClock(), m_app->GetRandom());
    doc.m_pEngine = m_engine.get();
    m_engineDoc = &doc;
    return *m_engine;
}

void AppTest::DropEngine()
{
    // The document may be gone already; its engine pointer is checked through the application.
    if (m_engine && m_app && m_engineDoc != nullptr) {
        const std::vector<CQzEditDoc*> docs = m_app->Documents();
        if (std::ranges::find(docs, m_engineDoc) != docs.end() &&
            m_engineDoc->m_pEngine == m_engine.get())
            m_engineDoc->m_pEngine = nullptr;
    }
    m_engineDoc = nullptr;
    m_engine.reset();
}

bool AppTest::PressOk(QDialog& dialog, const QString& message)
{
    m_messages.clear();
    Click(dialog, Ctl::kOk);
    if (!message.isEmpty()) {
        EXPECT_EQ(m_messages, QStringList{message});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        dialog.reject();
        return false;
    }
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    return dialog.result() == QDialog::Accepted;
}
