// Starting a program, and opening anything else with the desktop's default application.
#include <gio/gdesktopappinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/gtk/gtk_desktop.h"
#include "store/utf8.h"

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The bar's own environment with the user's display settings back in place.
gchar** ChildEnvironment() {
    gchar** environment = g_get_environ();
    for (const UserVariable& variable : desktop.userVariables) {
        environment = variable.had ? g_environ_setenv(environment, variable.name, variable.value.c_str(), TRUE)
                                   : g_environ_unsetenv(environment, variable.name);
    }
    return environment;
}

void GiveUserSettings(GAppLaunchContext* context) {
    for (const UserVariable& variable : desktop.userVariables) {
        if (variable.had) {
            g_app_launch_context_setenv(context, variable.name, variable.value.c_str());
        } else {
            g_app_launch_context_unsetenv(context, variable.name);
        }
    }
}

// The bar never waits for what it started; the zombie is collected when the child ends.
void OnProgramEnded(GPid pid, gint, gpointer) { g_spawn_close_pid(pid); }

// Runs in the opened application's process between fork and exec. A folder that cannot be
// entered leaves the application in the bar's working directory.
void EnterFolder(gpointer folder) {
    const int ignored = chdir(static_cast<const char*>(folder));
    (void)ignored;
}

bool LaunchInFolder(GAppInfo* application, GFile* file, const std::string& folder) {
    GList files{file, nullptr, nullptr};
    GAppLaunchContext* context = G_APP_LAUNCH_CONTEXT(gdk_display_get_app_launch_context(desktop.display));
    GiveUserSettings(context);
    bool launched = false;
    if (G_IS_DESKTOP_APP_INFO(application) && !folder.empty()) {
        gchar* uri = g_file_get_uri(file);
        GList uris{uri, nullptr, nullptr};
        launched = g_desktop_app_info_launch_uris_as_manager(G_DESKTOP_APP_INFO(application), &uris, context,
                                                             G_SPAWN_SEARCH_PATH, EnterFolder,
                                                             const_cast<char*>(folder.c_str()), nullptr, nullptr,
                                                             nullptr);
        g_free(uri);
    } else {
        launched = g_app_info_launch(application, &files, context, nullptr);
    }
    g_object_unref(context);
    return launched;
}

}  // namespace

// Only an executable regular file is a program here: it is run itself, never through a shell,
// with no arguments, in the bar's own working directory.
bool StartProgram(const std::wstring& path, const std::wstring&) {
    const std::string native = Utf8FromWide(path);
    if (native.empty() || !IsExecutableFile(native)) return false;
    gchar* argv[] = {const_cast<gchar*>(native.c_str()), nullptr};
    gchar** environment = ChildEnvironment();
    GPid pid = 0;
    const bool started =
        g_spawn_async(nullptr, argv, environment, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, nullptr);
    g_strfreev(environment);
    if (!started) return false;
    g_child_watch_add(pid, OnProgramEnded, nullptr);
    return true;
}

bool OpenWithDefaultAction(const std::wstring& path, const std::wstring& folder) {
    const std::string native = Utf8FromWide(path);
    if (native.empty()) return false;
    GFile* file = g_file_new_for_path(native.c_str());
    GAppInfo* application = g_file_query_default_handler(file, nullptr, nullptr);
    const bool launched = application && LaunchInFolder(application, file, Utf8FromWide(folder));
    if (application) g_object_unref(application);
    g_object_unref(file);
    return launched;
}
