#include "AppTestSupport.h"

#include <QApplication>

#include <system_error>

QString Id(int id)
{
    return QString::number(id);
}

QString Item(const char* text, int id)
{
    return QString::fromUtf8(text) + QLatin1Char('#') + Id(id);
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
