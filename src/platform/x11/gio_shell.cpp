#include "platform/x11/gio_shell.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <glib.h>
#include <unistd.h>

#include <memory>

#include "platform/x11/child_environment.h"

extern char** environ;

namespace tolvan {
namespace {

// The web browsers are the applications that handle http addresses.
constexpr const char* kWebContentType = "x-scheme-handler/http";

struct GObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
template <class T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GFree {
  void operator()(gpointer memory) const { g_free(memory); }
};
using GString = std::unique_ptr<char, GFree>;

// Takes a GError, answering its message in a sentence of Tolvan's.
Error error_from(GError* error, const std::string& what) {
  std::string message = what;
  if (error) {
    message += ": ";
    message += error->message;
    g_error_free(error);
  }
  return Error{message};
}

// A launch context that gives the child the cleaned environment.
GObjectPtr<GAppLaunchContext> launch_context() {
  GObjectPtr<GAppLaunchContext> context(g_app_launch_context_new());
  for (std::string_view name : child_environment_removals()) {
    g_app_launch_context_unsetenv(context.get(), std::string(name).c_str());
  }
  return context;
}

std::vector<std::string> current_environment() {
  std::vector<std::string> entries;
  for (char** entry = environ; entry && *entry; ++entry) entries.emplace_back(*entry);
  return child_environment(entries);
}

std::vector<char*> c_strings(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

BrowserInfo browser_info(GAppInfo* app, Shell& shell) {
  BrowserInfo browser;
  if (const char* id = g_app_info_get_id(app)) browser.id = id;
  if (const char* name = g_app_info_get_name(app)) browser.name = name;
  if (const char* executable = g_app_info_get_executable(app)) browser.executable = executable;
  browser.available = !browser.executable.empty() && shell.find_program(browser.executable);
  return browser;
}

// An address with a scheme stays as it is; anything else is a file name.
std::string uri_of(const std::string& location) {
  if (g_uri_peek_scheme(location.c_str()) != nullptr) return location;
  GObjectPtr<GFile> file(g_file_new_for_path(location.c_str()));
  GString uri(g_file_get_uri(file.get()));
  return uri.get();
}

}  // namespace

Status GioShell::start_program(const std::vector<std::string>& argv, const std::string& folder) {
  if (argv.empty() || argv[0].empty()) return Error{"There is no program to start."};
  std::vector<std::string> arguments = argv;
  std::vector<std::string> environment = current_environment();
  std::vector<char*> c_argv = c_strings(arguments);
  std::vector<char*> c_envp = c_strings(environment);
  GError* error = nullptr;
  // Without G_SPAWN_DO_NOT_REAP_CHILD GLib starts the program through an intermediate
  // child that it reaps at once: the program never becomes Tolvan's zombie.
  const gboolean started = g_spawn_async(
      folder.empty() ? nullptr : folder.c_str(), c_argv.data(), c_envp.data(),
      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDIN_FROM_DEV_NULL), nullptr,
      nullptr, nullptr, &error);
  if (!started) return error_from(error, "Could not start " + argv[0]);
  return Status::success();
}

Status GioShell::open(const std::string& location) {
  if (location.empty()) return Error{"There is nothing to open."};
  const std::string uri = uri_of(location);
  GError* error = nullptr;
  if (!g_app_info_launch_default_for_uri(uri.c_str(), launch_context().get(), &error)) {
    return error_from(error, "Could not open " + location);
  }
  return Status::success();
}

Status GioShell::launch_application_file(const std::string& path,
                                         const std::vector<std::string>& arguments,
                                         const std::string& folder) {
  GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new_from_filename(path.c_str()));
  if (!app) return Error{"Could not start " + path + ": it is not an application file."};
  GList* files = nullptr;
  for (const std::string& argument : arguments) {
    files = g_list_append(files, g_file_new_for_commandline_arg_and_cwd(
                                     argument.c_str(), folder.empty() ? nullptr : folder.c_str()));
  }
  GError* error = nullptr;
  const gboolean launched =
      g_app_info_launch(G_APP_INFO(app.get()), files, launch_context().get(), &error);
  g_list_free_full(files, g_object_unref);
  if (!launched) return error_from(error, "Could not start " + path);
  return Status::success();
}

Status GioShell::open_in_browser(const std::string& browser_id, const std::string& address) {
  GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new(browser_id.c_str()));
  if (!app) return Error{"The browser " + browser_id + " is not installed."};
  GList uris{const_cast<char*>(address.c_str()), nullptr, nullptr};
  GError* error = nullptr;
  if (!g_app_info_launch_uris(G_APP_INFO(app.get()), &uris, launch_context().get(), &error)) {
    return error_from(error, "Could not open " + address + " in " + browser_id);
  }
  return Status::success();
}

std::vector<BrowserInfo> GioShell::browsers() {
  std::vector<BrowserInfo> result;
  GList* apps = g_app_info_get_all_for_type(kWebContentType);
  for (GList* item = apps; item; item = item->next) {
    result.push_back(browser_info(G_APP_INFO(item->data), *this));
  }
  g_list_free_full(apps, g_object_unref);
  // The default is a browser even when no cache of the desktop's lists names it.
  if (std::optional<BrowserInfo> chosen = default_browser()) {
    bool listed = false;
    for (const BrowserInfo& browser : result) listed = listed || browser.id == chosen->id;
    if (!listed) result.insert(result.begin(), *chosen);
  }
  return result;
}

std::optional<BrowserInfo> GioShell::default_browser() {
  GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(kWebContentType, FALSE));
  if (!app) return std::nullopt;
  return browser_info(app.get(), *this);
}

std::optional<std::string> GioShell::find_program(const std::string& name) {
  if (name.empty()) return std::nullopt;
  GString path(g_find_program_in_path(name.c_str()));
  if (!path) return std::nullopt;
  return std::string(path.get());
}

std::optional<std::string> GioShell::program_description(const std::string& path) {
  if (g_str_has_suffix(path.c_str(), ".desktop")) {
    GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new_from_filename(path.c_str()));
    if (!app) return std::nullopt;
    return std::string(g_app_info_get_name(G_APP_INFO(app.get())));
  }
  const std::optional<std::string> program = find_program(path);
  if (!program) return std::nullopt;
  std::optional<std::string> description;
  GList* apps = g_app_info_get_all();
  for (GList* item = apps; item && !description; item = item->next) {
    GAppInfo* app = G_APP_INFO(item->data);
    const char* executable = g_app_info_get_executable(app);
    if (executable && find_program(executable) == program) description = g_app_info_get_name(app);
  }
  g_list_free_full(apps, g_object_unref);
  return description;
}

bool GioShell::can_run_as_administrator() { return find_program("pkexec").has_value(); }

Status GioShell::start_program_as_administrator(const std::vector<std::string>& argv,
                                                const std::string& folder) {
  const std::optional<std::string> pkexec = find_program("pkexec");
  if (!pkexec) return Error{"Programs cannot be started as administrator: pkexec is not installed."};
  // pkexec would otherwise run the program in the administrator's home folder.
  std::vector<std::string> elevated{*pkexec, "--keep-cwd"};
  elevated.insert(elevated.end(), argv.begin(), argv.end());
  return start_program(elevated, folder);
}

}  // namespace tolvan
