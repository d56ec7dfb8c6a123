#pragma once
// The engine's input seams on the desktop: the modifier keys held now (Qt), the camera keys held
// now (followed from the key events of the whole application) and a steady millisecond clock. The
// seeded 15-bit random generator is the core's (engine/Random.h).

#include "engine/Clock.h"
#include "engine/KeyState.h"

#include <QObject>

#include <array>
#include <chrono>
#include <cstdint>

class QCoreApplication;

// The modifiers come from the window system when asked. The camera keys (arrows, Page Up, Page
// Down) are followed from the key presses and releases of every window once Install has put the
// object on the application as an event filter: the key repeat of a held key changes nothing,
// and every key counts as released when the application loses the focus (its release would go
// to another program).
class CQtKeyState final : public QObject, public KeyState {
public:
    CQtKeyState() = default;
    ~CQtKeyState() override;
    CQtKeyState(const CQtKeyState&) = delete;
    CQtKeyState& operator=(const CQtKeyState&) = delete;

    // Watches the key events of app (the running application when null).
    void Install(QCoreApplication* app = nullptr);

    bool IsShiftDown() const override;
    bool IsCtrlDown() const override;
    bool IsAltDown() const override;
    bool IsKeyDown(EKey key) const override;

    // Every followed key counts as released.
    void ReleaseAll() { m_down.fill(false); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr std::size_t kKeyCount = 6;
    std::array<bool, kKeyCount> m_down{};
};

class CSteadyClock final : public Clock {
public:
    std::uint32_t Milliseconds() const override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
};
