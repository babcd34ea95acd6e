// An EditorHost that records what the abbreviation editor told the main window.
#pragma once

#include <string>
#include <vector>

#include "presenters/library_window/editor_host.h"

namespace tolvan::testing {

class RecordingEditorHost final : public EditorHost {
 public:
  std::vector<EditedField> edited;
  int unapplied = 0;
  int key_buffer_cleared = 0;
  std::string conflict_text;
  std::vector<Abbreviation*> conflicts;

  void record_edited(Abbreviation&, EditedField field) override { edited.push_back(field); }
  void mark_unapplied() override { ++unapplied; }
  void clear_key_buffer() override { ++key_buffer_cleared; }
  void show_conflicts(const std::string& text, const std::vector<Abbreviation*>& records) override {
    conflict_text = text;
    conflicts = records;
  }
};

}  // namespace tolvan::testing
