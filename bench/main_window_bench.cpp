// The main window over a library of 100,000 abbreviations in ten folders: the All row
// listed and drawn, a sort by a header, a search that finds 1% of the library, a row of
// the All list selected until the editor shows it, Apply (flush, save, backup). Needs the X display in DISPLAY (scripts/with-x.sh); without one
// each benchmark reports an error instead of a time. RSS is reported once the window shows.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <gtkmm/liststore.h>
#include <gtkmm/main.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "library/folder_tree.h"
#include "library/lookups.h"
#include "library/search.h"
#include "library/sorting.h"
#include "ui/gl_probe.h"
#include "ui/library_window/abbrev_editor_view.h"
#include "ui/library_window/main_window.h"
#include "ui/native_file_dialogs.h"

namespace tolvan::ui {
namespace {

struct NoHook final : KeyboardHookSwitch {
  bool keyboard_hook_installed() const override { return true; }
  bool install_keyboard_hook() override { return true; }
  bool remove_keyboard_hook() override { return true; }
};
struct NoSteps final : ApplySteps {
  bool sync_before_apply() override { return true; }
  void register_sandbox_folder_hotkeys() override {}
};

// Everything the toolkit has to do now, drawing included.
void drain() {
  gdk_display_sync(gdk_display_get_default());
  while (gtk_events_pending()) gtk_main_iteration_do(false);
}

long rss_kib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

struct Scene {
  std::string dir = [] {
    char name[] = "/tmp/tolvan-mw-bench-XXXXXX";
    return std::string(mkdtemp(name));
  }();
  Settings prefs;
  RunTimeVariables gvar;
  Library library;
  StreamPrompts prompts{std::cerr};
  NoHook hook;
  EnabledSwitch enabled{hook};
  NoSteps steps;
  NativeFileDialogs dialogs{prompts};
  std::unique_ptr<MainWindow> window;

  Scene() {
    gvar.set("abbreviations_file", dir + "/abbreviations.tlv");
    prefs.set("auto_backup", "1");
    prefs.set("backup_dir", dir + "/backups");
    prefs.set("prefs_file", dir + "/prefs.lt");
    gvar.set("prefs_file", dir + "/prefs.lt");
    Folder& top = abbr_ensure_absolute_parent(library.main_list, library.uids);
    for (int f = 0; f < 10; ++f) {
      Folder& folder = abbr_add_subfolder_to_folder(
          top, abbr_new_subfolder_of(library.uids, &top, "Folder " + std::to_string(f)));
      for (int i = 0; i < 10'000; ++i) {
        auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &folder, {});
        a->abbreviations = {"ab" + std::to_string(f) + "x" + std::to_string(i)};
        a->description = "entry " + std::to_string((i * 7919) % 10'000) + " of folder " + std::to_string(f);
        a->expansion() = "expansion " + std::to_string(f) + " " + std::to_string(i);
        abbr_add_abbrev_to_folder(folder, std::move(a));
      }
    }
    abbr_create_sandbox(library);
    window = std::make_unique<MainWindow>(MainWindowContext{library, prefs, gvar, prompts, enabled,
                                                            steps, [] {}, [] {}, dialogs});
    window->show_from_tray();
    drain();
  }
};

Scene* scene(benchmark::State& state) {
  const char* display = std::getenv("DISPLAY");
  if (display && *display) skip_gl_probe();  // as the program does
  if (!display || !*display || !gtk_init_check(nullptr, nullptr)) {
    state.SkipWithError("no X display");
    return nullptr;
  }
  Gtk::Main::init_gtkmm_internals();
  static Scene* shared = new Scene;  // kept for the process: building it takes seconds
  return shared;
}

void BM_AllRowListedAndDrawn(benchmark::State& state) {
  Scene* s = scene(state);
  if (!s) return;
  for (auto _ : state) {
    s->window->show_folder(nullptr);
    drain();
  }
  state.counters["rows"] = static_cast<double>(s->window->listed_records().size());
  state.counters["rss_MiB"] = static_cast<double>(rss_kib()) / 1024;
}
BENCHMARK(BM_AllRowListedAndDrawn)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SortByHeader(benchmark::State& state) {
  Scene* s = scene(state);
  if (!s) return;
  s->window->show_folder(nullptr);
  drain();
  int column = SORT_BY_ABBREVIATION;
  for (auto _ : state) {
    s->window->header_clicked(column);  // alternates between two columns
    drain();
    column = column == SORT_BY_ABBREVIATION ? SORT_BY_DESCRIPTION : SORT_BY_ABBREVIATION;
  }
}
BENCHMARK(BM_SortByHeader)->Unit(benchmark::kMillisecond)->Iterations(6);

void BM_SearchOnePercent(benchmark::State& state) {
  Scene* s = scene(state);
  if (!s) return;
  s->window->show_folder(nullptr);
  drain();
  s->window->search_entry().grab_focus();
  drain();
  for (auto _ : state) {
    s->window->search_entry().set_text("entry 7");  // "entry 7", "entry 7…": ~1.1% of the rows
    drain();
    state.PauseTiming();
    s->window->search_entry().set_text("");
    drain();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SearchOnePercent)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RowToEditor(benchmark::State& state) {
  Scene* s = scene(state);
  if (!s) return;
  s->window->show_folder(nullptr);
  drain();
  // Rows far apart, as a user who scrolled would pick them; each one changes the editor.
  const size_t rows[] = {10, 50'000, 99'990, 25'000};
  const std::vector<Abbreviation*> listed = s->window->listed_records();
  size_t next = 0;
  for (auto _ : state) {
    const size_t row = rows[next++ % std::size(rows)];
    s->window->list_view().set_cursor(RecordListModel::path_of(row));
    drain();
    if (s->window->editor().presenter().record() != listed.at(row)) {
      state.SkipWithError("the editor does not show the selected row");
      return;
    }
  }
}
BENCHMARK(BM_RowToEditor)->Unit(benchmark::kMillisecond)->Iterations(8);

void BM_Apply(benchmark::State& state) {
  Scene* s = scene(state);
  if (!s) return;
  for (auto _ : state) {
    s->window->mark_unapplied();
    s->window->apply_button().clicked();
    drain();
  }
}
BENCHMARK(BM_Apply)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tolvan::ui

namespace tolvan::ui {
namespace {

// The parts of listing the All row, each alone.
void BM_PartCollectAll(benchmark::State& state) {
  Scene* s = scene(state);
  if (!s) return;
  for (auto _ : state) {
    benchmark::DoNotOptimize(abbr_get_all_folders_and_abbrevs_from_folder_list(s->library.sandbox));
  }
}
BENCHMARK(BM_PartCollectAll)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PartSortByDescription(benchmark::State& state) {
  Scene* s = scene(state);
  if (!s) return;
  auto all = abbr_get_all_folders_and_abbrevs_from_folder_list(s->library.sandbox).abbreviations;
  for (auto _ : state) abbr_sort_abbrev_lst(all, SORT_BY_DESCRIPTION, SORT_ASCENDING);
}
BENCHMARK(BM_PartSortByDescription)->Unit(benchmark::kMillisecond)->Iterations(5);

// The alternative to the record model: a list store of record pointers, filled without a
// view and emptied again.
void BM_PartListStoreFill(benchmark::State& state) {
  Scene* s = scene(state);
  if (!s) return;
  auto all = abbr_get_all_folders_and_abbrevs_from_folder_list(s->library.sandbox).abbreviations;
  Gtk::TreeModelColumn<Abbreviation*> record;
  Gtk::TreeModelColumnRecord columns;
  columns.add(record);
  for (auto _ : state) {
    auto store = Gtk::ListStore::create(columns);
    for (Abbreviation* a : all) gtk_list_store_insert_with_values(store->gobj(), nullptr, -1, 0, a, -1);
  }
}
BENCHMARK(BM_PartListStoreFill)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PartRecordModelFill(benchmark::State& state) {
  Scene* s = scene(state);
  if (!s) return;
  auto all = abbr_get_all_folders_and_abbrevs_from_folder_list(s->library.sandbox).abbreviations;
  for (auto _ : state) benchmark::DoNotOptimize(RecordListModel::create(all));
}
BENCHMARK(BM_PartRecordModelFill)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PartSearch(benchmark::State& state) {
  Scene* s = scene(state);
  if (!s) return;
  for (auto _ : state) {
    benchmark::DoNotOptimize(abbr_find_abbrevs_containing_string(
        s->library.sandbox, nullptr, "entry 7", nullptr,
        SEARCH_DESCRIPTION | SEARCH_ABBREVIATION | SEARCH_EXPANSION));
  }
}
BENCHMARK(BM_PartSearch)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace tolvan::ui
