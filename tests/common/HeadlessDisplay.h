#pragma once

#include <X11/Xlib.h>

#include <cstdlib>

namespace testing_support
{
    /** The connection prepareHeadlessDisplay keeps open for the whole run. */
    inline Display* keptDisplay = nullptr;

    /** Also: the tests run on a bare virtual X server with no window manager, where some of the
        atoms a desktop session always has do not exist yet; JUCE's window code asks for
        them only if they exist and then uses them, which the server refuses. Creating them
        up front gives the tests the display a user's desktop provides. */
    inline void prepareHeadlessDisplay()
    {
        if (std::getenv ("DISPLAY") == nullptr)
            return;

        // A hosted plug-in runs its own copy of JUCE in this process, so Xlib is used from
        // more than one place: thread support must be on before the first call, as in a DAW.
        XInitThreads();

        if (auto* display = XOpenDisplay (nullptr))
        {
            for (const char* name : { "WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "_NET_WM_PING",
                                      "WM_CHANGE_STATE", "WM_STATE", "_NET_WM_WINDOW_TYPE", "_NET_WM_STATE",
                                      "_NET_WM_STATE_HIDDEN" })
                XInternAtom (display, name, False);

            // Stays open: a virtual server resets, atoms and all, when its last client leaves.
            XSync (display, False);
            keptDisplay = display;
        }
    }
}
