#include "app/WindowSystem.h"

#include <xcb/xcb.h>

#include <QGuiApplication>

void SendToWindowSystem() {
    // Other platforms (the tests' offscreen one) have nothing queued.
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) xcb_flush(x11->connection());
}
