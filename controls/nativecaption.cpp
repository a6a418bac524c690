#include "controls/nativecaption.h"

#include <QGuiApplication>
#include <QWidget>

#if defined(TRADEBOOK_X11)
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace tb {

#if defined(TRADEBOOK_X11)

namespace {

xcb_connection_t *x11Connection()
{
    // The offscreen platform answers as an X11 application too, without a connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t result = reply->atom;
    std::free(reply);
    return result;
}

} // namespace

void clearNativeCaption(QWidget *window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window || !window->isWindow() || !window->windowTitle().isEmpty())
        return;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t netName = atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(connection, "UTF8_STRING");
    if (netName != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE)
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, netName, utf8, 8, 0,
                            nullptr);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(connection);
}

#else

void clearNativeCaption(QWidget *)
{
}

#endif

} // namespace tb
