// EditorHost: what the abbreviation editor asks of the main window around it. The editor
// writes each field straight into the selected sandbox record; the window keeps the list
// row, the sort order and the Apply button in step with it.
#pragma once

#include <string>
#include <vector>

namespace tolvan {

class Abbreviation;

// The fields the editor writes, numbered as the abbreviation list's columns.
enum class EditedField : int {
  TypeIcon = 0,
  Description = 1,
  Abbreviation = 2,
  Expansion = 3,  // the replacement text, or a launcher's location or address
  CaseMode = 7,
  TriggerMode = 8,
  Anywhere = 12,
};

class EditorHost {
 public:
  virtual ~EditorHost() = default;
  // The record's field (and its modified time) changed: refresh its row, and keep the row
  // in its sorted place when the list is sorted by that field.
  virtual void record_edited(Abbreviation& record, EditedField field) = 0;
  // An edit by the user: the library now has unapplied changes (Apply becomes sensitive).
  virtual void mark_unapplied() = 0;
  // The user is typing into Tolvan's own fields: what the keyboard engine has collected
  // so far must not complete an abbreviation.
  virtual void clear_key_buffer() = 0;
  // Show exactly these records in the list as the result of searching for `text` (the
  // abbreviations that may conflict with the one being edited).
  virtual void show_conflicts(const std::string& text, const std::vector<Abbreviation*>& records) = 0;
};

}  // namespace tolvan
