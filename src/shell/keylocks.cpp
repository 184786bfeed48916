#include "shell/keylocks.h"

#ifdef ZELVA_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include <QGuiApplication>
#include <cstdlib>

namespace zelva {

#ifdef ZELVA_HAVE_XCB
namespace {

// On X11 the locked modifiers tell the state: Lock is Caps Lock, and Mod2 is
// where the usual keymaps put Num Lock.
KeyLocks readX11()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return {};
    xcb_connection_t* connection = x11->connection();
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_iterator_t screen = xcb_setup_roots_iterator(setup);
    if (!screen.rem)
        return {};
    xcb_query_pointer_reply_t* reply
        = xcb_query_pointer_reply(connection, xcb_query_pointer(connection, screen.data->root), nullptr);
    if (!reply)
        return {};
    KeyLocks locks;
    locks.known = true;
    locks.capsLock = reply->mask & XCB_MOD_MASK_LOCK;
    locks.numLock = reply->mask & XCB_MOD_MASK_2;
    std::free(reply);
    return locks;
}

} // namespace
#endif

KeyLocks ReadKeyLocks()
{
#ifdef ZELVA_HAVE_XCB
    return readX11();
#else
    return {};
#endif
}

} // namespace zelva
