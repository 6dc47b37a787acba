#include "platform/displayCheck.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace display {

namespace {

bool isSet(const char* name)
{
    const char* v = std::getenv(name);
    return v && *v;
}

using Disconnect = void (*)(void*);

// The check's connection, kept until release().
struct Held {
    void* library = nullptr;
    void* connection = nullptr;
    Disconnect disconnect = nullptr;
} held;

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
    const auto connect = reinterpret_cast<Connect>(::dlsym(xcb, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(::dlsym(xcb, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(::dlsym(xcb, "xcb_disconnect"));
    if (!connect || !hasError || !disconnect) {
        ::dlclose(xcb);
        return true;
    }
    // A server that is just resetting (its last client left a moment ago)
    // refuses connections for a few milliseconds: ask again for up to a
    // second before saying there is none.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (attempt)
            ::usleep(50 * 1000);
        void* c = connect(nullptr, nullptr);
        if (c && hasError(c) == 0) {
            release();
            held = {xcb, c, disconnect};
            return true;
        }
        if (c)
            disconnect(c);
    }
    ::dlclose(xcb);
    return false;
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

void release()
{
    if (held.connection)
        held.disconnect(held.connection);
    if (held.library)
        ::dlclose(held.library);
    held = {};
}

const char* noDisplayLine()
{
    return "lunvelde: 画面（X ディスプレイ）に接続できません。DISPLAY を確かめるか、画面のない環境では "
           "xvfb-run -a lunvelde で起動してください。";
}

}  // namespace display
