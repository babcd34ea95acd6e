// TextExpander import and export of a large settings file, in the process: te_import_bench.py
// writes the settings file and names it in TOLVAN_TE_IMPORT_FILE.
//  - The import alone (reading the file, the property-list parse, the checks and the
//    conversion into folders), without adding to a library or saving, for comparison with
//    python3's plistlib loading the same file.
//  - The export of the whole library as File > Export does it: on the library already in
//    memory, so the wait the user has is the settings file's text and its safe save only.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "core/prompts.h"
#include "core/safe_save.h"
#include "engine/macros/textexpander_codes.h"
#include "import/te_export.h"
#include "import/te_import.h"
#include "import/te_import_library.h"
#include "library/folder_tree.h"
#include "library/main_list_file.h"
#include "settings/prefs.h"

namespace tolvan {
namespace {

const char* settings_file_path(benchmark::State& state) {
  const char* path = std::getenv("TOLVAN_TE_IMPORT_FILE");
  if (path == nullptr || *path == '\0') {
    state.SkipWithError("TOLVAN_TE_IMPORT_FILE names no settings file (te_import_bench.py does)");
    return nullptr;
  }
  return path;
}

void BM_TeImportFile(benchmark::State& state) {
  const char* path = settings_file_path(state);
  if (path == nullptr) return;
  size_t snippets = 0;
  for (auto _ : state) {
    TeFileImport result = te_import_snippet_file(path, {});
    if (result.result != TeImportResult::Imported) {
      state.SkipWithError(("the import failed: " + result.message).c_str());
      return;
    }
    snippets = result.import->abbreviation_count();
    benchmark::DoNotOptimize(snippets);
  }
  state.counters["snippets"] = static_cast<double>(snippets);
}
BENCHMARK(BM_TeImportFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A folder of its own under the temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string name =
        (std::filesystem::temp_directory_path() / "tolvan_te_export_bench_XXXXXX").string();
    if (mkdtemp(name.data()) != nullptr) path_ = name;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  bool made() const { return !path_.empty(); }
  std::string file(const char* name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The program's state after the settings file was imported, applied and the program
// started again: the import added to the library as File > Import adds it, the library
// file saved from it, and that file loaded into the main list as at start (so the
// TextExpander dictionaries are the ones read back from the library file).
struct LoadedLibrary {
  Settings prefs;
  RunTimeVariables gvar;
  Library library;
  std::string problem;  // why the library could not be set up; empty when it was
};

std::unique_ptr<LoadedLibrary> load_imported_library(const std::string& settings_file,
                                                     const ScratchFolder& scratch) {
  auto loaded = std::make_unique<LoadedLibrary>();
  prefs_set_defaults(loaded->prefs, loaded->gvar);
  const MainListLoadOptions load_options = main_list_load_options(loaded->prefs);

  TeImportOptions options;
  options.defaults = load_options.defaults;
  options.now = abbr_time_now();
  TeFileImport file = te_import_snippet_file(settings_file, options);
  if (file.result != TeImportResult::Imported) {
    loaded->problem = "the import failed: " + file.message;
    return loaded;
  }
  const std::string library_file = scratch.file("abbreviations.tlv");
  {
    Library imported;
    te_add_import_to_library(imported, SANDBOX, std::move(*file.import), ImportMode::Replace);
    if (Status saved = abbr_dump_sandbox_folder_list_to_file(imported, library_file); !saved) {
      loaded->problem = "the library file could not be saved: " + saved.error();
      return loaded;
    }
  }
  std::ostringstream messages;
  StreamPrompts prompts(messages);
  if (abbr_load_main_list_from_file(loaded->library, library_file, prompts, load_options) !=
      LoadOutcome::Loaded) {
    loaded->problem = "the library file could not be loaded: " + messages.str();
  }
  return loaded;
}

void BM_TeExportLoadedLibrary(benchmark::State& state) {
  const char* path = settings_file_path(state);
  if (path == nullptr) return;
  ScratchFolder scratch;
  if (!scratch.made()) {
    state.SkipWithError("no temporary folder could be made");
    return;
  }
  // Built once for all repetitions: the import, save and load take several seconds.
  static std::unique_ptr<LoadedLibrary> loaded;
  if (!loaded) loaded = load_imported_library(path, scratch);
  if (!loaded->problem.empty()) {
    state.SkipWithError(loaded->problem.c_str());
    return;
  }
  Library& library = loaded->library;
  const Folder* top = abbr_get_absolute_parent_folder(library.main_list);
  TeExportOptions options;
  options.defaults = main_list_load_options(loaded->prefs).defaults;
  options.now = abbr_time_now();
  options.to_te_macros = tolvan_macros_to_te_macros;
  const TePreferences prefs = te_preferences_from(loaded->prefs);
  const std::string target = scratch.file("Settings.textexpander");
  size_t bytes = 0;
  for (auto _ : state) {
    auto lock = library.lock_main_list();
    Result<std::string> text = te_settings_file_text(top, prefs, options);
    if (!text) {
      state.SkipWithError(("the export failed: " + text.error()).c_str());
      return;
    }
    if (Status written = safe_save_file(target, *text); !written) {
      state.SkipWithError(("the settings file could not be written: " + written.error()).c_str());
      return;
    }
    bytes = text->size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TeExportLoadedLibrary)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tolvan
