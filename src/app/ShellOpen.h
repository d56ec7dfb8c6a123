#pragma once
// Open requests between editors of one user on one display: the desktop starts "qzedit FILE..."
// for every double-clicked level; when an editor runs already, the new process hands the files to
// it and ends, and the running editor opens them as File > Open does.
//
// The first editor listens on a local socket named per user and display (ShellOpenServerName).
// A request is one message: the tag "QZOPEN1", a 32-bit count of paths and, for each, a 32-bit
// length and that many bytes of UTF-8 (all numbers big-endian). The listener answers one byte,
// kShellOpenAck, once the files are opened, and closes the connection. Whatever comes from the
// socket is treated as hostile: a message longer than kShellOpenMaxBytes, with more than
// kShellOpenMaxPaths paths, a path that is empty, not absolute or holds a NUL, or bytes left over,
// is ignored.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QLocalServer;
class QLocalSocket;

inline constexpr qsizetype kShellOpenMaxBytes = 256 * 1024;
inline constexpr int kShellOpenMaxPaths = 256;
inline constexpr char kShellOpenAck = '1';

// The socket "qzedit-" + display in the user's runtime folder (XDG_RUNTIME_DIR, which only the
// user may enter): the display from DISPLAY, else WAYLAND_DISPLAY, else "nodisplay"; every
// character but letters, digits, '.' and '_' becomes '_', so editors of one user on different
// displays never meet. Empty when the user has no runtime folder: then editors neither listen
// nor send, and each opens its own files.
QString ShellOpenServerName();

// The request for paths (absolute paths); empty when the paths do not fit in one request.
QByteArray EncodeOpenRequest(const QStringList& paths);
// The paths of a whole request; nothing when message is not one well-formed request.
std::optional<QStringList> DecodeOpenRequest(const QByteArray& message);
// How many bytes the request beginning with head needs in all: 0 while the head is too short to
// tell, -1 when it is no request (wrong tag, too many paths or bytes).
qsizetype OpenRequestSize(const QByteArray& head);

// Hands paths to the editor listening on name: true when it took them (it answered that it
// opened them, or it is still at it when waitMs have passed). False when no editor listens
// there or it refused the request.
bool SendOpenRequest(const QString& name, const QStringList& paths, int waitMs = 30000);

// The listening side.
class CShellOpenServer : public QObject {
    Q_OBJECT

public:
    // Called with the paths of every well-formed request; the answer goes back when it returns.
    using Handler = std::function<void(const QStringList&)>;

    explicit CShellOpenServer(Handler handler, QObject* parent = nullptr);
    ~CShellOpenServer() override;

    // Listens on name. A socket left behind by an editor that ended is replaced; when an editor
    // listens there already, this one does not listen (false).
    bool Listen(const QString& name);
    bool IsListening() const;

private:
    void OnConnection();
    void OnReadable(QLocalSocket* socket);

    Handler m_handler;
    QLocalServer* m_server;
};
