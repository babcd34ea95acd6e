#include "ui/library_window/library_transfers.h"

#include <glibmm/main.h>

#include "presenters/library_window/export_flows.h"
#include "presenters/library_window/import_flows.h"
#include "ui/library_window/import_mode_dialog.h"

namespace tolvan::ui {

LibraryTransfers::LibraryTransfers(const LibraryTransfersContext& ctx, Gtk::Window* parent)
    : parent_(parent),
      ctx_{ctx, runner_,
           [this](bool textexpander) { return ask_import_mode(parent_, textexpander); }} {
  runner_.set_parent(parent);
}

// A flow that starts while another waits in a dialog would change the library under it.
template <class Flow>
auto LibraryTransfers::guarded(Flow flow, decltype(flow()) turned_away) {
  if (busy_) return turned_away;
  busy_ = true;
  struct Release {
    bool& busy;
    ~Release() { busy = false; }
  } release{busy_};
  return flow();
}

bool LibraryTransfers::import_abbrevs(std::optional<std::string> path) {
  return guarded([&] { return tolvan::import_abbrevs(ctx_, path); }, false);
}

TeImportResult LibraryTransfers::import_te_snippets(std::optional<std::string> path) {
  return guarded([&] { return tolvan::import_te_snippets(ctx_, path); },
                 TeImportResult::Failed);
}

bool LibraryTransfers::export_abbrevs(const Folder* folder, bool html) {
  return guarded([&] { return tolvan::export_abbrevs(ctx_, folder, html); }, false);
}

bool LibraryTransfers::export_te_snippets(const Folder* folder) {
  return guarded([&] { return tolvan::export_te_snippets(ctx_, folder); }, false);
}

bool LibraryTransfers::import_included_set(const std::string& name) {
  // The menu that asked closes first, so the window is drawn without it meanwhile.
  auto context = Glib::MainContext::get_default();
  while (context->pending()) context->iteration(false);
  return guarded([&] { return tolvan::import_included_set(ctx_, name); }, false);
}

}  // namespace tolvan::ui
