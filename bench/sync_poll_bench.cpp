// The two-second sync poll when nothing changed: the cost the running program pays all day.
// The fixed-count runs are for counting its system calls: the difference between
//   strace -c -f bench_sync_poll --benchmark_filter='textexpander/iterations:10001$'
//   strace -c -f bench_sync_poll --benchmark_filter='textexpander/iterations:1$'
// is what 10,000 polls cost.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "import/shared_folder_sync.h"
#include "library/folder_tree.h"

namespace tolvan {
namespace {

class NoPrompts final : public Prompts {
 public:
  void info(std::string_view) override {}
  void error(std::string_view) override {}
  bool yes_no(std::string_view, PromptKind) override { return false; }
  Answer yes_no_cancel(std::string_view) override { return Answer::Cancel; }
  bool ask_again(std::string_view, PromptKind, bool keep) override { return keep; }
};

void BM_SyncPollWhenNothingChanged(benchmark::State& state, SyncMode mode) {
  namespace fs = std::filesystem;
  const fs::path shared = fs::temp_directory_path() / "tolvan_sync_poll_bench";
  fs::create_directories(shared);
  Settings prefs;
  RunTimeVariables gvar;
  prefs.set("use_diff_abbrev_dir", "1");
  prefs.set_int("sync_te", mode == SyncMode::TextExpander ? 1 : 0);
  prefs.set_int("textexpander_mode", mode == SyncMode::TextExpander ? 1 : 0);
  prefs.set("diff_abbrev_dir", shared.string());
  prefs.set("aldir", "1");
  gvar_set_all_after_prefs_loaded(gvar, prefs);
  const std::string file = sync_file_path(gvar, mode);
  std::ofstream(file) << "contents";
  sync_update_timestamp(prefs, mode, file);
  Library library;
  abbr_ensure_absolute_parent(library.main_list, library.uids);
  NoPrompts prompts;
  PromptsSyncQuestions questions(prompts);
  SharedFolderSync sync(
      SyncContext{prefs, gvar, library, prompts, questions, nullptr, nullptr, nullptr, nullptr});
  for (auto _ : state) benchmark::DoNotOptimize(sync.poll());
  fs::remove_all(shared);
}
BENCHMARK_CAPTURE(BM_SyncPollWhenNothingChanged, textexpander, SyncMode::TextExpander);
BENCHMARK_CAPTURE(BM_SyncPollWhenNothingChanged, own_format, SyncMode::Own);
BENCHMARK_CAPTURE(BM_SyncPollWhenNothingChanged, textexpander, SyncMode::TextExpander)->Iterations(1);
BENCHMARK_CAPTURE(BM_SyncPollWhenNothingChanged, textexpander, SyncMode::TextExpander)->Iterations(10001);

}  // namespace
}  // namespace tolvan
