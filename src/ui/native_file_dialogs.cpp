#include "ui/native_file_dialogs.h"

#include <gtkmm/dialog.h>
#include <gtkmm/filechoosernative.h>

#include "core/paths.h"

namespace tolvan::ui {
namespace {

Glib::RefPtr<Gtk::FileChooserNative> make_dialog(Gtk::Window* parent, const std::string& title,
                                                 Gtk::FileChooserAction action,
                                                 const char* accept) {
  return parent ? Gtk::FileChooserNative::create(title, *parent, action, accept, "_Cancel")
                : Gtk::FileChooserNative::create(title, action, accept, "_Cancel");
}

void add_filters(const Glib::RefPtr<Gtk::FileChooserNative>& dialog, const std::vector<FileFilter>& filters) {
  for (const FileFilter& filter : filters) {
    auto gtk_filter = Gtk::FileFilter::create();
    gtk_filter->set_name(filter.name);
    for (const std::string& pattern : filter.patterns) gtk_filter->add_pattern(pattern);
    dialog->add_filter(gtk_filter);
  }
}

std::optional<std::string> chosen(const Glib::RefPtr<Gtk::FileChooserNative>& dialog) {
  if (dialog->run() != Gtk::RESPONSE_ACCEPT) return std::nullopt;
  std::string name = dialog->get_filename();
  if (name.empty()) return std::nullopt;  // a location without a local path
  return name;
}

}  // namespace

std::optional<std::string> NativeFileDialogs::browse_for_file(const OpenFileRequest& request) {
  auto dialog = make_dialog(parent_, request.title, Gtk::FILE_CHOOSER_ACTION_OPEN, "_Open");
  add_filters(dialog, request.filters);
  const DialogStart start = file_dialog_start(request.initial_path, "", true);
  if (!start.folder.empty()) dialog->set_current_folder(start.folder);
  if (!start.name.empty()) dialog->set_filename(start.name);
  return chosen(dialog);
}

std::optional<std::string> NativeFileDialogs::browse_for_save_file_name(
    const SaveFileRequest& request) {
  auto dialog = make_dialog(parent_, request.title, Gtk::FILE_CHOOSER_ACTION_SAVE, "_Save");
  add_filters(dialog, request.filters);
  dialog->set_do_overwrite_confirmation(true);
  const DialogStart start = file_dialog_start(request.initial_path, request.initial_folder,
                                              false);
  std::string folder = start.folder;
  if (!start.name.empty() && directory_exists(parse_out_directory(start.name)))
    folder = parse_out_directory(start.name);
  if (!folder.empty()) dialog->set_current_folder(folder);
  if (!start.name.empty()) dialog->set_current_name(parse_out_filename(start.name));
  return save_file_name_flow([&] { return chosen(dialog); }, request.default_extension,
                             prompts_);
}

std::optional<std::string> NativeFileDialogs::browse_for_folder(
    const std::string& title, const std::string& initial_folder) {
  auto dialog =
      make_dialog(parent_, title, Gtk::FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Select");
  if (directory_exists(initial_folder)) dialog->set_current_folder(initial_folder);
  std::optional<std::string> folder = chosen(dialog);
  if (!folder) return std::nullopt;
  return folder_link_target(*folder);
}

}  // namespace tolvan::ui
