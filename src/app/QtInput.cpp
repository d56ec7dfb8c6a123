#include "app/QtInput.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>

#include <optional>

namespace {

// The followed key of a Qt key code (the arrows and page keys of the numeric pad included: they
// come with the same codes).
std::optional<EKey> FollowedKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
        return EKey::Up;
    case Qt::Key_Down:
        return EKey::Down;
    case Qt::Key_Left:
        return EKey::Left;
    case Qt::Key_Right:
        return EKey::Right;
    case Qt::Key_PageUp:
        return EKey::PageUp;
    case Qt::Key_PageDown:
        return EKey::PageDown;
    default:
        return std::nullopt;
    }
}

}  // namespace

CQtKeyState::~CQtKeyState() = default;

void CQtKeyState::Install(QCoreApplication* app)
{
    if (app == nullptr)
        app = QCoreApplication::instance();
    if (app == nullptr)
        return;
    app->installEventFilter(this);
    if (auto* gui = qobject_cast<QGuiApplication*>(app))
        connect(gui, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state != Qt::ApplicationActive)
                        ReleaseAll();
                });
}

bool CQtKeyState::IsShiftDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

bool CQtKeyState::IsCtrlDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

bool CQtKeyState::IsAltDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
}

bool CQtKeyState::IsKeyDown(EKey key) const
{
    const auto index = static_cast<std::size_t>(key);
    return index < m_down.size() && m_down[index];
}

bool CQtKeyState::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::KeyRelease: {
        // A key that an accelerator takes reaches no widget as a key press: the shortcut
        // override that comes before it tells that it went down.
        const auto* key = static_cast<const QKeyEvent*>(event);
        const std::optional<EKey> followed = FollowedKey(key->key());
        if (!followed)
            break;
        if (event->type() == QEvent::KeyRelease) {
            // The window system's key repeat sends releases of a key still held.
            if (!key->isAutoRepeat())
                m_down[static_cast<std::size_t>(*followed)] = false;
        } else {
            m_down[static_cast<std::size_t>(*followed)] = true;
        }
        break;
    }
    case QEvent::ApplicationDeactivate:
        ReleaseAll();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
