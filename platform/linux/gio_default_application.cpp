#include "gio_default_application.h"

#include <gio/gio.h>

#include <memory>

namespace platform::gio {

namespace {

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
    void operator()(gpointer object) const { g_object_unref(object); }
};

// The program of a registration: the first word of its Exec line. GIO's own answer cuts
// the line at the first blank, which breaks a quoted program path with blanks.
std::string programOf(GAppInfo *app)
{
    const char *commandLine = g_app_info_get_commandline(app);
    gchar **argv = nullptr;
    if (commandLine && g_shell_parse_argv(commandLine, nullptr, &argv, nullptr)) {
        const std::string program = argv[0] ? argv[0] : "";
        g_strfreev(argv);
        if (!program.empty())
            return program;
    }
    const char *executable = g_app_info_get_executable(app);
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

    // The type comes from the name alone, as the desktop's file associations do.
    gboolean uncertain = FALSE;
    const GCharPtr contentType(g_content_type_guess(document.c_str(), nullptr, 0, &uncertain));
    result.code = kNoAssociation;
    if (!contentType)
        return result;

    const std::unique_ptr<GAppInfo, GObjectDeleter> app(
        g_app_info_get_default_for_type(contentType.get(), FALSE));
    if (!app)
        return result;
    const std::string executable = programOf(app.get());
    if (executable.empty())
        return result;

    // The registration may name the program bare ("evince"); the caller wants its path.
    const GCharPtr fullPath(g_find_program_in_path(executable.c_str()));
    if (!fullPath)
        return result;
    result.code = kFound;
    result.executable = fullPath.get();
    const char *commandLine = g_app_info_get_commandline(app.get());
    result.commandLine = commandLine ? commandLine : "";
    return result;
}

} // namespace platform::gio
