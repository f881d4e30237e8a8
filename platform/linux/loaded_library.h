#pragma once

#include <dlfcn.h>

namespace platform {

// A system library opened by its soname when a feature first needs it, so that the
// window starts without it (CUPS and GIO pull two dozen libraries in between them, which
// every start would otherwise map and link). The loader searches the system's folders
// only: the programs carry no search path of their own. Kept open for the program's life.
class LoadedLibrary
{
public:
    explicit LoadedLibrary(const char *soname)
        : m_handle(dlopen(soname, RTLD_NOW | RTLD_LOCAL))
    { }
    LoadedLibrary(const LoadedLibrary &) = delete;
    LoadedLibrary &operator=(const LoadedLibrary &) = delete;

    bool isOpen() const { return m_handle != nullptr; }

    // The library's function `name`, typed as `Function` (take its declaration from the
    // library's header: decltype(&cupsPrintFile)); null when the library or the function
    // is missing.
    template<typename Function> Function function(const char *name) const
    {
        return m_handle ? reinterpret_cast<Function>(dlsym(m_handle, name)) : nullptr;
    }

private:
    void *m_handle;
};

} // namespace platform
