#pragma once

#include "framebehaviour.h"

namespace platform {
struct WindowMessage;
}

class MainWindowBase;

// The frame through Windows' own window messages: the caption answers the hit test, so that
// Windows moves the window, opens its system menu and sends the system commands back.
class MessageFrameBehaviour final : public FrameBehaviour
{
    Q_OBJECT

public:
    explicit MessageFrameBehaviour(MainWindowBase *window);

    bool nativeEvent(void *message, qintptr *result) override;
    void bringToFront() override;
    // Opens the system menu of the active window.
    void openSystemMenu(const QPoint &globalPos) override;
    bool startSystemResize(Qt::Edges edges) override;

    // What nativeEvent does with a message once read; callable on every platform, so that
    // it can be exercised where there are no window messages.
    bool handleWindowMessage(const platform::WindowMessage &message, qintptr *result);

private:
    MainWindowBase *window = nullptr;
};
