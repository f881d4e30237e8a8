#include "gio_default_application.h"

#include "loaded_library.h"

#include <gio/gio.h>

#include <memory>

namespace platform::gio {

namespace {

// GIO, opened at the first look-up; GLib itself is Qt's and always there.
struct Gio
{
    LoadedLibrary library {"libgio-2.0.so.0"};
    decltype(&g_content_type_guess) contentTypeGuess =
        library.function<decltype(&g_content_type_guess)>("g_content_type_guess");
    decltype(&g_app_info_get_default_for_type) defaultForType =
        library.function<decltype(&g_app_info_get_default_for_type)>("g_app_info_get_default_for_type");
    decltype(&g_app_info_get_commandline) commandLine =
        library.function<decltype(&g_app_info_get_commandline)>("g_app_info_get_commandline");
    decltype(&g_app_info_get_executable) executable =
        library.function<decltype(&g_app_info_get_executable)>("g_app_info_get_executable");
    decltype(&g_object_unref) unref = library.function<decltype(&g_object_unref)>("g_object_unref");

    bool complete() const { return contentTypeGuess && defaultForType && commandLine && executable && unref; }
};

const Gio *gioLibrary()
{
    static const Gio loaded;
    return loaded.complete() ? &loaded : nullptr;
}

constexpr int kFound = 42;
constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;

struct GFreeDeleter
{
    void operator()(gchar *text) const { g_free(text); }
};
using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;

struct GObjectDeleter
{
    void operator()(gpointer object) const { gioLibrary()->unref(object); }
};

// The program of a registration: the first word of its Exec line. GIO's own answer cuts
// the line at the first blank, which breaks a quoted program path with blanks.
std::string programOf(const Gio &gio, GAppInfo *app)
{
    const char *commandLine = gio.commandLine(app);
    gchar **argv = nullptr;
    if (commandLine && g_shell_parse_argv(commandLine, nullptr, &argv, nullptr)) {
        const std::string program = argv[0] ? argv[0] : "";
        g_strfreev(argv);
        if (!program.empty())
            return program;
    }
    const char *executable = gio.executable(app);
    return executable ? executable : "";
}

} // namespace

DefaultApplication findDefaultApplication(const std::string &document, const std::string &directory)
{
    DefaultApplication result;
    const GCharPtr path(g_build_filename(directory.c_str(), document.c_str(), nullptr));
    if (document.empty() || !g_file_test(path.get(), G_FILE_TEST_IS_REGULAR)) {
        result.code = kFileNotFound;
        return result;
    }

    // Without GIO the desktop's associations cannot be read: nothing is registered.
    result.code = kNoAssociation;
    const Gio *gio = gioLibrary();
    if (!gio)
        return result;
    // The type comes from the name alone, as the desktop's file associations do.
    gboolean uncertain = FALSE;
    const GCharPtr contentType(gio->contentTypeGuess(document.c_str(), nullptr, 0, &uncertain));
    if (!contentType)
        return result;

    const std::unique_ptr<GAppInfo, GObjectDeleter> app(gio->defaultForType(contentType.get(), FALSE));
    if (!app)
        return result;
    const std::string executable = programOf(*gio, app.get());
    if (executable.empty())
        return result;

    // The registration may name the program bare ("evince"); the caller wants its path.
    const GCharPtr fullPath(g_find_program_in_path(executable.c_str()));
    if (!fullPath)
        return result;
    result.code = kFound;
    result.executable = fullPath.get();
    const char *commandLine = gio->commandLine(app.get());
    result.commandLine = commandLine ? commandLine : "";
    return result;
}

} // namespace platform::gio
