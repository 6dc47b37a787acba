#include "platform/displayCheck.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
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
        // Asked for the screen number, the library also checks that the
        // server has the screen DISPLAY names (":0.7" may name none): the
        // toolkit asks the same way.
        int screen = 0;
        void* c = connect(nullptr, &screen);
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

// A Wayland compositor listens on WAYLAND_DISPLAY (default wayland-0), a
// socket in XDG_RUNTIME_DIR unless the name is a path.
bool waylandAnswers()
{
    const char* name = std::getenv("WAYLAND_DISPLAY");
    std::string socketPath = isSet("WAYLAND_DISPLAY") ? name : "wayland-0";
    if (socketPath[0] != '/') {
        if (!isSet("XDG_RUNTIME_DIR"))
            return false;
        socketPath = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/" + socketPath;
    }
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true;  // cannot tell: left to the toolkit
    const bool answers = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

// One platform the toolkit may try: xcb and wayland are checked here, any
// other is left to the toolkit (it may need no display at all).
bool platformAnswers(const std::string& entry)
{
    const std::string name = entry.substr(0, entry.find(':'));
    if (name == "xcb")
        return xServerAnswers();
    if (name.compare(0, 7, "wayland") == 0)
        return waylandAnswers();
    return true;
}

}  // namespace

bool usable()
{
    // The platforms the toolkit tries, in its order: those QT_QPA_PLATFORM
    // lists, else Wayland first when a Wayland session is named, then X11.
    std::string platforms;
    if (isSet("QT_QPA_PLATFORM"))
        platforms = std::getenv("QT_QPA_PLATFORM");
    else if (isSet("WAYLAND_DISPLAY") || (isSet("XDG_SESSION_TYPE") && std::strcmp(std::getenv("XDG_SESSION_TYPE"), "wayland") == 0))
        platforms = "wayland;xcb";
    else
        platforms = "xcb";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = platforms.find(';', start);
        const std::string entry = platforms.substr(start, end - start);
        if (!entry.empty() && platformAnswers(entry))
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
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
