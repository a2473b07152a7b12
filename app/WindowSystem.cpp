#include "app/WindowSystem.h"

#include <xcb/xcb.h>

#include <QGuiApplication>

void SendToWindowSystem() {
    // Other platforms have nothing queued; the offscreen one offers the
    // interface without a connection behind it.
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t* connection = x11 ? x11->connection() : nullptr) xcb_flush(connection);
}
