#include "app/ShellOpen.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QVariant>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

constexpr char kTag[] = "QZOPEN1";
constexpr qsizetype kTagSize = sizeof(kTag) - 1;
constexpr qsizetype kHeadSize = kTagSize + 4;
// How long a connection may take to deliver its request before it is dropped.
constexpr int kRequestMs = 10000;
constexpr int kConnectMs = 2000;

// The connection's bytes so far, and whether its request is being opened or was.
constexpr const char* kBufferProperty = "qzOpenRequest";
constexpr const char* kTakenProperty = "qzOpenTaken";

void AppendNumber(QByteArray& out, std::uint32_t value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

std::uint32_t NumberAt(const QByteArray& in, qsizetype at)
{
    return qFromBigEndian<std::uint32_t>(in.constData() + at);
}

QString Sanitised(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'.' && c != u'_')
            c = u'_';
    return out;
}

}  // namespace

QString ShellOpenServerName()
{
    // In the user's runtime folder, which only the user may enter: a socket in the shared
    // temporary folder could be put there first by anyone.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return {};
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = QStringLiteral("nodisplay");
    return folder + QStringLiteral("/qzedit-") + Sanitised(display);
}

QByteArray EncodeOpenRequest(const QStringList& paths)
{
    if (paths.size() > kShellOpenMaxPaths)
        return {};
    QByteArray out(kTag, kTagSize);
    AppendNumber(out, static_cast<std::uint32_t>(paths.size()));
    for (const QString& path : paths) {
        const QByteArray bytes = path.toUtf8();
        AppendNumber(out, static_cast<std::uint32_t>(bytes.size()));
        out += bytes;
        if (out.size() > kShellOpenMaxBytes)
            return {};
    }
    return out;
}

qsizetype OpenRequestSize(const QByteArray& head)
{
    const qsizetype tagPart = std::min(head.size(), kTagSize);
    if (head.left(tagPart) != QByteArray(kTag, tagPart))
        return -1;
    if (head.size() < kHeadSize)
        return 0;
    const std::uint32_t count = NumberAt(head, kTagSize);
    if (count > static_cast<std::uint32_t>(kShellOpenMaxPaths))
        return -1;
    qsizetype size = kHeadSize;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (head.size() < size + 4)
            return 0;
        const std::uint32_t length = NumberAt(head, size);
        if (length > static_cast<std::uint32_t>(kShellOpenMaxBytes))
            return -1;
        size += 4 + static_cast<qsizetype>(length);
        if (size > kShellOpenMaxBytes)
            return -1;
    }
    return size;
}

std::optional<QStringList> DecodeOpenRequest(const QByteArray& message)
{
    const qsizetype size = OpenRequestSize(message);
    if (size <= 0 || size != message.size())
        return std::nullopt;
    const std::uint32_t count = NumberAt(message, kTagSize);
    QStringList paths;
    qsizetype at = kHeadSize;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto length = static_cast<qsizetype>(NumberAt(message, at));
        const QByteArray bytes = message.mid(at + 4, length);
        at += 4 + length;
        if (bytes.isEmpty() || bytes.contains('\0'))
            return std::nullopt;
        const QString path = QString::fromUtf8(bytes);
        // Bytes that are no UTF-8 do not come back as they went.
        if (path.toUtf8() != bytes || !QDir::isAbsolutePath(path))
            return std::nullopt;
        paths.push_back(path);
    }
    return paths;
}

bool SendOpenRequest(const QString& name, const QStringList& paths, int waitMs)
{
    const QByteArray request = EncodeOpenRequest(paths);
    if (request.isEmpty() || name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectMs))
        return false;
    socket.write(request);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(kConnectMs))
            return false;
    // The editor answers once the files are open (after any message about them was confirmed).
    // It closes the connection without an answer when it refused the request; one that is still
    // busy with the files when the wait ends has them.
    if (socket.bytesAvailable() == 0 && socket.state() == QLocalSocket::ConnectedState)
        socket.waitForReadyRead(waitMs);
    if (socket.bytesAvailable() > 0)
        return socket.read(1) == QByteArray(1, kShellOpenAck);
    return socket.state() == QLocalSocket::ConnectedState;
}

CShellOpenServer::CShellOpenServer(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)), m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &CShellOpenServer::OnConnection);
}

CShellOpenServer::~CShellOpenServer() = default;

bool CShellOpenServer::Listen(const QString& name)
{
    if (name.isEmpty())
        return false;
    if (m_server->listen(name))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // The socket is there: an editor that answers keeps it; one left by an editor that ended
    // goes.
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(kConnectMs)) {
            probe.abort();
            return false;
        }
    }
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

bool CShellOpenServer::IsListening() const
{
    return m_server->isListening();
}

void CShellOpenServer::OnConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadable(socket); });
        QTimer::singleShot(kRequestMs, socket, [socket] {
            if (!socket->property(kTakenProperty).toBool())
                socket->abort();
        });
        if (socket->bytesAvailable() > 0)
            OnReadable(socket);
    }
}

void CShellOpenServer::OnReadable(QLocalSocket* socket)
{
    if (socket->property(kTakenProperty).toBool()) {
        // Nothing may follow a request.
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property(kBufferProperty).toByteArray();
    // Never more than a whole request is read, whatever the other side sends.
    buffer += socket->read(kShellOpenMaxBytes + 1 - buffer.size());
    const qsizetype size = OpenRequestSize(buffer);
    if (size < 0 || buffer.size() > kShellOpenMaxBytes || (size > 0 && buffer.size() > size)) {
        socket->abort();
        return;
    }
    if (size == 0 || buffer.size() < size) {
        socket->setProperty(kBufferProperty, buffer);
        return;
    }
    socket->setProperty(kBufferProperty, QVariant());
    const std::optional<QStringList> paths = DecodeOpenRequest(buffer);
    if (!paths) {
        socket->abort();
        return;
    }
    socket->setProperty(kTakenProperty, true);
    // The socket may go while the files open (a message box runs the event loop).
    const QPointer<QLocalSocket> guard(socket);
    if (m_handler)
        m_handler(*paths);
    if (guard) {
        guard->write(&kShellOpenAck, 1);
        guard->disconnectFromServer();
    }
}
