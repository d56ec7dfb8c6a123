// The editor as the desktop starts it for double-clicked levels: `qzedit FILE.qze` opens the
// level, and a second `qzedit OTHER.qzl` while the first runs hands the file to it and ends with
// 0. The first editor is then closed as the window manager closes a window, and its recent-file
// list (written at the normal exit) shows both levels, the later first.

#include "level/GameResources.h"
#include "level/QzeFile.h"
#include "level/QzlWriter.h"
#include "support/FixtureLevels.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// An X connection of the test's own, to reach the editor's windows as a window manager does.
class CXConnection {
public:
    CXConnection() : m_connection(xcb_connect(nullptr, nullptr)) {}
    ~CXConnection() { xcb_disconnect(m_connection); }
    CXConnection(const CXConnection&) = delete;
    CXConnection& operator=(const CXConnection&) = delete;

    bool IsOpen() const { return xcb_connection_has_error(m_connection) == 0; }

    xcb_atom_t Atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }

    std::string Property(xcb_window_t window, xcb_atom_t property)
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr);
        std::string value;
        if (reply != nullptr)
            value.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                         static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        std::free(reply);
        return value;
    }

    // The top-level windows of process pid whose title begins with "QzEdit".
    std::vector<xcb_window_t> MainWindows(qint64 pid)
    {
        const xcb_atom_t pidAtom = Atom("_NET_WM_PID");
        const xcb_atom_t nameAtom = Atom("_NET_WM_NAME");
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        std::vector<xcb_window_t> found;
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, root), nullptr);
        if (tree == nullptr)
            return found;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            const std::string pidBytes = Property(children[i], pidAtom);
            std::uint32_t windowPid = 0;
            if (pidBytes.size() != sizeof(windowPid))
                continue;
            std::memcpy(&windowPid, pidBytes.data(), sizeof(windowPid));
            if (windowPid == pid && Property(children[i], nameAtom).rfind("QzEdit", 0) == 0)
                found.push_back(children[i]);
        }
        std::free(tree);
        return found;
    }

    // What the window manager sends when the user clicks a window's close button.
    void SendDeleteWindow(xcb_window_t window)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = Atom("WM_PROTOCOLS");
        event.data.data32[0] = Atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(m_connection);
    }

private:
    xcb_connection_t* m_connection;
};

void WriteLevels(const QString& qze, const QString& qzl)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    FinishFixture(level);
    SaveQzeFile(qze.toStdString(), level, CDocumentFields{});
    SaveQzlFile(qzl.toStdString(), level, CGameResources{}, 0);
}

TEST(DesktopOpenTest, CommandLineOpensTheLevelAndASecondEditorHandsItsFileToTheFirst)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString first = temp.filePath(QStringLiteral("first room.qze"));
    const QString second = temp.filePath(QStringLiteral("second.qzl"));
    WriteLevels(first, second);

    // A home of the test's own, its settings without the Tip of the Day (a modal dialog at
    // start-up would keep the window from closing).
    const QString config = temp.filePath(QStringLiteral("config"));
    const QString settingsFile = config + QStringLiteral("/Korvath & Varnok Editor/QzEdit.ini");
    {
        QSettings settings(settingsFile, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Tip/StartUp"), 1);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), temp.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    QProcess editor;
    editor.setProcessEnvironment(environment);
    editor.setWorkingDirectory(temp.path());
    editor.setProcessChannelMode(QProcess::ForwardedChannels);
    // Named relative to the working folder, as a shell hands it on.
    editor.start(QStringLiteral(QZ_TEST_QZEDIT), {QStringLiteral("first room.qze")});
    ASSERT_TRUE(editor.waitForStarted());

    CXConnection x;
    ASSERT_TRUE(x.IsOpen());
    QDeadlineTimer deadline(60000);
    while (x.MainWindows(editor.processId()).empty() && !deadline.hasExpired() &&
           editor.state() == QProcess::Running)
        QThread::msleep(100);
    ASSERT_FALSE(x.MainWindows(editor.processId()).empty()) << "no main window";

    QProcess other;
    other.setProcessEnvironment(environment);
    other.setWorkingDirectory(temp.path());
    other.setProcessChannelMode(QProcess::ForwardedChannels);
    other.start(QStringLiteral(QZ_TEST_QZEDIT), {second});
    ASSERT_TRUE(other.waitForFinished(60000)) << "the second editor kept running";
    EXPECT_EQ(other.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(other.exitCode(), 0);
    EXPECT_EQ(editor.state(), QProcess::Running);

    // Closed as the user closes it (asked again while a start-up dialog still holds it).
    deadline = QDeadlineTimer(60000);
    while (!editor.waitForFinished(500) && !deadline.hasExpired())
        for (const xcb_window_t window : x.MainWindows(editor.processId()))
            x.SendDeleteWindow(window);
    ASSERT_EQ(editor.state(), QProcess::NotRunning) << "the editor did not close";
    EXPECT_EQ(editor.exitCode(), 0);

    QSettings settings(settingsFile, QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File1")).toString().toStdString(),
              QDir::cleanPath(second).toStdString());
    EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File2")).toString().toStdString(),
              QDir::cleanPath(first).toStdString());
}

}  // namespace
