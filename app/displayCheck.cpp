#include "app/displayCheck.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace display {

namespace {

bool isSet(const char* name)
{
    const char* v = std::getenv(name);
    return v && *v;
}

// Connects to the X server through the same library the toolkit uses.
bool xServerAnswers()
{
    if (!isSet("DISPLAY"))
        return false;
    void* xcb = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb)
        return true;  // the toolkit's own message then says what is missing
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    const auto connect = reinterpret_cast<Connect>(::dlsym(xcb, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(::dlsym(xcb, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(::dlsym(xcb, "xcb_disconnect"));
    bool ok = true;
    if (connect && hasError && disconnect) {
        void* c = connect(nullptr, nullptr);
        ok = c && hasError(c) == 0;
        if (c)
            disconnect(c);
    }
    ::dlclose(xcb);
    return ok;
}

}  // namespace

bool usable()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool xcbOnly = platform && std::strncmp(platform, "xcb", 3) == 0;
    if (platform && *platform && !xcbOnly)
        return true;
    if (!xcbOnly && isSet("WAYLAND_DISPLAY"))
        return true;
    return xServerAnswers();
}

const char* noDisplayLine()
{
    return "lunvelde: 画面（X ディスプレイ）に接続できません。DISPLAY を確かめるか、画面のない環境では "
           "xvfb-run -a lunvelde で起動してください。";
}

}  // namespace display
