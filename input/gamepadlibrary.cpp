#include "gamepadlibrary.h"

#include <QLibrary>

#include <memory>

namespace {

#if defined(Q_OS_WIN)
const char kFileName[] = "SDL2.dll";
#elif defined(Q_OS_MACOS)
const char kFileName[] = "libSDL2-2.0.0.dylib";
#else
const char kFileName[] = "libSDL2-2.0.so.0";
#endif

struct Loaded
{
    std::unique_ptr<GamepadLibrary> library;
    QString error;
};

template<typename Function>
bool resolve(QLibrary &library, Function &function, const char *name, QString &error)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    if (!function)
        error = library.errorString();
    return function;
}

Loaded loadLibrary()
{
    QLibrary library(QString::fromLatin1(kFileName));
    if (!library.load())
        return {nullptr, library.errorString()};
    auto functions = std::make_unique<GamepadLibrary>();
    QString error;
#define TAVRO_SDL_RESOLVE(name) resolve(library, functions->name, "SDL_" #name, error) &&
    if (!(TAVRO_SDL_FUNCTIONS(TAVRO_SDL_RESOLVE) true))
        return {nullptr, error};
#undef TAVRO_SDL_RESOLVE
    return {std::move(functions), QString()};
}

const Loaded &loaded()
{
    static const Loaded once = loadLibrary();
    return once;
}

} // namespace

const GamepadLibrary *GamepadLibrary::load()
{
    return loaded().library.get();
}

QString GamepadLibrary::error()
{
    return loaded().error;
}

QString GamepadLibrary::version() const
{
    SDL_version version;
    GetVersion(&version);
    return QStringLiteral("SDL %1.%2.%3").arg(version.major).arg(version.minor).arg(version.patch);
}
