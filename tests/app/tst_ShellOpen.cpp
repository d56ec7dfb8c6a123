// Open requests between editors: the request's form and what of hostile input the listener
// ignores, and the application opening the files of its command line and of requests as Open
// does.

#include "AppTestSupport.h"

#include "app/QzEditDoc.h"
#include "app/ShellOpen.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>

#include <cstdint>
#include <cstring>
#include <optional>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString UniqueServerName()
{
    static int next = 0;
    return QStringLiteral("qztest-open-%1-%2").arg(QCoreApplication::applicationPid()).arg(++next);
}

QByteArray Number(std::uint32_t value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    return {bytes, 4};
}

// A request put together by hand: the tag, the count, then each path as length and bytes.
QByteArray Request(std::uint32_t count, const QList<QByteArray>& paths)
{
    QByteArray out = QByteArrayLiteral("QZOPEN1") + Number(count);
    for (const QByteArray& path : paths)
        out += Number(static_cast<std::uint32_t>(path.size())) + path;
    return out;
}

// Sends bytes to the listener on name as another process would, the events of this one running
// meanwhile; what came back before the listener closed the connection (or within 5 s). With
// splitAt, the bytes go in two writes with a pause between them.
QByteArray Exchange(const QString& name, const QByteArray& bytes, qsizetype splitAt = -1)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    QByteArray answer;
    const QDeadlineTimer deadline(5000);
    while (socket.state() == QLocalSocket::ConnectingState && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (socket.state() != QLocalSocket::ConnectedState)
        return "not connected";
    if (splitAt > 0) {
        socket.write(bytes.left(splitAt));
        socket.flush();
        const QDeadlineTimer pause(100);
        while (!pause.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        socket.write(bytes.mid(splitAt));
    } else {
        socket.write(bytes);
    }
    while (socket.state() != QLocalSocket::UnconnectedState && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        answer += socket.readAll();
    }
    return answer + socket.readAll();
}

// A local socket bound to the file path (not listening yet); -1 when that fails.
int BoundSocket(const QByteArray& path)
{
    sockaddr_un address{};
    if (static_cast<std::size_t>(path.size()) >= sizeof(address.sun_path))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

class ShellOpenTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQApplication(); }
};

TEST_F(ShellOpenTest, RequestsComeBackAsTheyWent)
{
    const QList<QStringList> cases = {
        {QStringLiteral("/levels/a.qze")},
        {QStringLiteral("/levels/a b.qzl"), QStringLiteral("/home/user/Ümlaut/c.qze")},
        {},
    };
    for (const QStringList& paths : cases) {
        const QByteArray request = EncodeOpenRequest(paths);
        ASSERT_FALSE(request.isEmpty());
        EXPECT_EQ(OpenRequestSize(request), request.size());
        const std::optional<QStringList> back = DecodeOpenRequest(request);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, paths);
        // Every beginning of it is not yet a request, but may become one: its size is not known
        // yet, or is the whole request's.
        for (qsizetype cut = 0; cut < request.size(); ++cut) {
            const qsizetype size = OpenRequestSize(request.left(cut));
            EXPECT_TRUE(size == 0 || size == request.size()) << cut << " " << size;
            EXPECT_FALSE(DecodeOpenRequest(request.left(cut)).has_value()) << cut;
        }
    }
    // More than one request can carry are not put into one.
    EXPECT_TRUE(
        EncodeOpenRequest(QStringList(kShellOpenMaxPaths + 1, QStringLiteral("/a"))).isEmpty());
    EXPECT_TRUE(
        EncodeOpenRequest({QStringLiteral("/") + QString(kShellOpenMaxBytes, u'a')}).isEmpty());
}

TEST_F(ShellOpenTest, MalformedRequestsAreRefused)
{
    const QByteArray good = Request(1, {"/a.qze"});
    struct Case {
        const char* what;
        QByteArray bytes;
        bool noRequest;  // OpenRequestSize tells at once
    };
    const Case cases[] = {
        {"wrong tag", "QZOPEN2" + Number(1) + Number(6) + "/a.qze", true},
        {"not the tag at all", "GET / HTTP/1.0\r\n", true},
        {"too many paths", Request(kShellOpenMaxPaths + 1, {}), true},
        {"a path longer than a request", Request(1, {}) + Number(0x7fffffff), true},
        {"a count of 2^32 - 1", Request(0xffffffffU, {}), true},
        {"bytes after the request", good + "x", false},
        {"an empty path", Request(1, {""}), false},
        {"a relative path", Request(1, {"a.qze"}), false},
        {"a NUL in the path", Request(1, {QByteArray("/a\0b.qze", 8)}), false},
        {"bytes that are no UTF-8", Request(1, {"/a\xff.qze"}), false},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(DecodeOpenRequest(c.bytes).has_value()) << c.what;
        if (c.noRequest) {
            EXPECT_EQ(OpenRequestSize(c.bytes), -1) << c.what;
        }
    }
}

TEST_F(ShellOpenTest, ListenerOpensWellFormedRequestsOnlyAndKeepsListening)
{
    QList<QStringList> opened;
    CShellOpenServer server([&opened](const QStringList& paths) { opened.push_back(paths); });
    const QString name = UniqueServerName();
    ASSERT_TRUE(server.Listen(name));

    const QStringList paths = {QStringLiteral("/levels/one.qze"), QStringLiteral("/x/two.qzl")};
    EXPECT_EQ(Exchange(name, EncodeOpenRequest(paths)), QByteArray(1, kShellOpenAck));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], paths);

    // Hostile peers: each is cut off without an answer and opens nothing.
    const QByteArray hostile[] = {
        "QZOPEN2 and whatever follows",
        Request(1, {"relative.qze"}),
        Request(1, {"/a.qze"}) + "trailing",
        // Says it brings a path of the largest size and sends more than a request may hold.
        Request(1, {}) + Number(kShellOpenMaxBytes - 100) + QByteArray(kShellOpenMaxBytes, 'a'),
    };
    for (const QByteArray& bytes : hostile)
        EXPECT_EQ(Exchange(name, bytes), QByteArray()) << bytes.left(20).toStdString();
    EXPECT_EQ(opened.size(), 1);

    // The listener still takes the next good request.
    EXPECT_EQ(Exchange(name, EncodeOpenRequest({QStringLiteral("/three.qze")})),
              QByteArray(1, kShellOpenAck));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1], QStringList{QStringLiteral("/three.qze")});

    // A request that arrives in pieces, its head cut in the middle, is put together.
    const QByteArray pieces = EncodeOpenRequest({QStringLiteral("/four.qze")});
    EXPECT_EQ(Exchange(name, pieces, 5), QByteArray(1, kShellOpenAck));
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[2], QStringList{QStringLiteral("/four.qze")});
}

// The sender counts the files as taken only when the listener says so: an editor that closes
// the connection without its answer has not opened them, and this process must.
TEST_F(ShellOpenTest, TheSenderTrustsOnlyTheListenersAnswer)
{
    struct Case {
        const char* what;
        QByteArray answer;  // sent back after the request was read; empty: closed without one
        bool taken;
    };
    const Case cases[] = {
        {"answered", QByteArray(1, kShellOpenAck), true},
        {"closed without an answer", {}, false},
        {"a wrong answer", "0", false},
    };
    for (const Case& c : cases) {
        const QByteArray path = QFile::encodeName(QDir::tempPath() + u'/' + UniqueServerName());
        const int fd = BoundSocket(path);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::listen(fd, 1), 0);
        std::thread peer([fd, &c] {
            const int client = ::accept(fd, nullptr, nullptr);
            if (client < 0)
                return;
            const QByteArray request = EncodeOpenRequest({QStringLiteral("/a.qze")});
            QByteArray got(request.size(), '\0');
            qsizetype have = 0;
            while (have < got.size()) {
                const ssize_t n =
                    ::read(client, got.data() + have, static_cast<std::size_t>(got.size() - have));
                if (n <= 0)
                    break;
                have += n;
            }
            if (!c.answer.isEmpty())
                (void)::write(client, c.answer.constData(),
                              static_cast<std::size_t>(c.answer.size()));
            ::close(client);
        });
        EXPECT_EQ(SendOpenRequest(QString::fromLocal8Bit(path), {QStringLiteral("/a.qze")}, 5000),
                  c.taken)
            << c.what;
        peer.join();
        ::close(fd);
        ::unlink(path.constData());
    }
}

// The editors' socket lies in the user's own runtime folder, never in the shared temporary one.
TEST_F(ShellOpenTest, TheSocketLiesInTheUsersRuntimeFolder)
{
    const QString name = ShellOpenServerName();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(name.startsWith(folder + QStringLiteral("/qzedit-"))) << name.toStdString();
    EXPECT_EQ(QFile::permissions(folder) &
                  (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                   QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther),
              QFileDevice::Permissions{});
}

TEST_F(ShellOpenTest, ASecondListenerStandsBackAndAStaleSocketIsTakenOver)
{
    const QString name = UniqueServerName();
    {
        CShellOpenServer first({});
        ASSERT_TRUE(first.Listen(name));
        CShellOpenServer second({});
        EXPECT_FALSE(second.Listen(name));
        EXPECT_FALSE(second.IsListening());
        EXPECT_TRUE(first.IsListening());
    }
    // No one listens: the sender finds out and opens the files itself.
    EXPECT_FALSE(SendOpenRequest(name, {QStringLiteral("/a.qze")}, 100));

    // A socket file left behind by an editor that ended: bound, never listened on, not removed.
    const QByteArray file = QFile::encodeName(QDir::tempPath() + u'/' + name);
    const int fd = BoundSocket(file);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(QString::fromLocal8Bit(file)));
    QStringList got;
    CShellOpenServer taker([&got](const QStringList& paths) { got = paths; });
    EXPECT_TRUE(taker.Listen(name));
    EXPECT_EQ(Exchange(name, EncodeOpenRequest({QStringLiteral("/b.qze")})),
              QByteArray(1, kShellOpenAck));
    EXPECT_EQ(got, QStringList{QStringLiteral("/b.qze")});
}

class ShellOpenAppTest : public AppTest {};

// The files of the command line open once the product is set up, each as Open opens it: a name
// that is no file gives Open's message and the others still open, and the recent-file list gains
// the levels.
TEST_F(ShellOpenAppTest, CommandLineFilesOpenAfterSetUpAsOpenDoes)
{
    const QString level = QString::fromStdString((Temp() / "room.qze").string());
    CQzlSections box = MakeEmptyLevel();
    AddBoxSector(box, {0, 0, 0}, {1, 1, 1});
    FinishFixture(box);
    SaveQzeFile(level.toStdString(), box, CDocumentFields{});
    const QString missing = QString::fromStdString((Temp() / "gone.qze").string());

    CAppOptions options = TestOptions();
    options.m_openFiles = {missing, level};
    CQzEditApp& app = MakeApp(options);
    EXPECT_FALSE(app.m_product.m_resources.m_treeMaterials.m_entries.empty());
    ASSERT_EQ(app.Documents().size(), 1U);
    EXPECT_EQ(app.Documents()[0]->PathName(), level);
    EXPECT_EQ(app.RecentFiles(), QStringList{level});
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("gone.qze"))) << m_messages[0].toStdString();
    // Without listening for others' requests, no socket is made.
    EXPECT_FALSE(app.IsOpenRequestListener());

    // A later request for the open level only brings it to the front.
    app.OpenShellFiles({level});
    EXPECT_EQ(app.Documents().size(), 1U);
    EXPECT_EQ(m_messages.size(), 1);
}

}  // namespace
