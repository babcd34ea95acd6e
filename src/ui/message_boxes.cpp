#include "ui/message_boxes.h"

#include <glibmm/main.h>
#include <glibmm/markup.h>
#include <gtkmm/box.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>
#include <gtkmm/frame.h>
#include <gtkmm/label.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/textview.h>

namespace tolvan::ui {
namespace {

constexpr auto kTimerGrace = std::chrono::milliseconds(150);

Gtk::MessageType gtk_type(PromptKind type) {
  switch (type) {
    case PromptKind::Info:
      return Gtk::MESSAGE_INFO;
    case PromptKind::Warning:
      return Gtk::MESSAGE_WARNING;
    case PromptKind::Question:
      return Gtk::MESSAGE_QUESTION;
    case PromptKind::Error:
      break;
  }
  return Gtk::MESSAGE_ERROR;
}

// A box with its title, buttons and default answer, ready to run.
class Box : public Gtk::MessageDialog {
 public:
  Box(Gtk::Window* parent, PromptKind type, MessageButtons buttons, std::string_view text)
      // As escaped markup: plain text would be set in bold, which suits a one-line title,
      // not Tolvan's messages of several sentences.
      : Gtk::MessageDialog(Glib::Markup::escape_text(Glib::ustring(text.data(), text.size())),
                           true, gtk_type(type), static_cast<Gtk::ButtonsType>(buttons), true) {
    set_title("Tolvan");
    if (parent) set_transient_for(*parent);
    property_destroy_with_parent() = true;
    answer_enter_with(ui_default_response_from_buttons(type, buttons));
  }

  void answer_enter_with(Response response) {
    if (response != Response::None) set_default_response(static_cast<int>(response));
  }

  // Something under the text, which then starts where it does.
  void add_below(Gtk::Widget& widget) {
    Gtk::Box* area = get_message_area();
    for (Gtk::Widget* child : area->get_children()) {
      if (auto* label = dynamic_cast<Gtk::Label*>(child)) {
        label->set_halign(Gtk::ALIGN_START);
        label->set_xalign(0);
      }
    }
    area->pack_start(widget, Gtk::PACK_EXPAND_WIDGET);
    widget.show_all();
  }

  Response ask() { return response_from_gtk(run()); }
};

Glib::ustring ustring(std::string_view text) { return Glib::ustring(text.data(), text.size()); }

}  // namespace

MessageBoxes::MessageBoxes() = default;

Response MessageBoxes::show(PromptKind type, MessageButtons buttons, std::string_view text) {
  return calls_.call([&] { return Box(parent_, type, buttons, text).ask(); });
}

Response MessageBoxes::show_yes_no_cancel(PromptKind type, std::string_view text) {
  return calls_.call([&] {
    Box box(parent_, type, MessageButtons::None, text);
    box.add_button("_Cancel", static_cast<int>(Response::Cancel));
    box.add_button("_No", static_cast<int>(Response::No));
    box.add_button("_Yes", static_cast<int>(Response::Yes));
    box.answer_enter_with(Response::Yes);
    return box.ask();
  });
}

Response MessageBoxes::show_with_checkbox(PromptKind type, MessageButtons buttons,
                                          std::string_view text, std::string_view check_label,
                                          bool& checked) {
  return calls_.call([&] {
    Box box(parent_, type, buttons, text);
    Gtk::CheckButton check(ustring(check_label), true);
    check.set_active(checked);
    box.add_below(check);
    Response response = box.ask();
    checked = check.get_active();
    return response;
  });
}

Response MessageBoxes::show_ask_again(PromptKind type, MessageButtons buttons,
                                      std::string_view text, bool& dont_show_again) {
  return show_with_checkbox(type, buttons, text, kAskAgainLabel, dont_show_again);
}

Response MessageBoxes::show_textview(PromptKind type, MessageButtons buttons,
                                     std::string_view text, std::string_view contents,
                                     bool* dont_show_again) {
  return calls_.call([&] {
    Box box(parent_, type, buttons, text);
    Gtk::Frame frame;
    frame.set_shadow_type(Gtk::SHADOW_IN);
    Gtk::ScrolledWindow scrolled;
    scrolled.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
    scrolled.set_min_content_width(360);
    scrolled.set_min_content_height(160);
    Gtk::TextView view;
    view.set_editable(false);
    view.set_cursor_visible(false);
    view.set_wrap_mode(Gtk::WRAP_WORD_CHAR);
    view.set_left_margin(4);
    view.set_right_margin(4);
    view.get_buffer()->set_text(ustring(contents));
    scrolled.add(view);
    frame.add(scrolled);
    box.add_below(frame);
    Gtk::CheckButton check(kTextAreaAskAgainLabel, true);
    if (dont_show_again) {
      check.set_active(*dont_show_again);
      box.add_below(check);
    }
    Response response = box.ask();
    if (dont_show_again) *dont_show_again = check.get_active();
    return response;
  });
}

std::optional<std::string> MessageBoxes::ask_for_entry(PromptKind type, MessageButtons buttons,
                                                       std::string_view text,
                                                       std::string_view label, bool visible,
                                                       Response* response) {
  return calls_.call([&]() -> std::optional<std::string> {
    Box box(parent_, type, buttons, text);
    Gtk::Box row(Gtk::ORIENTATION_HORIZONTAL, 6);
    Gtk::Label caption(ustring(label), true);
    Gtk::Entry entry;
    entry.set_visibility(visible);
    entry.set_activates_default(true);
    caption.set_mnemonic_widget(entry);
    row.pack_start(caption, Gtk::PACK_SHRINK);
    row.pack_start(entry, Gtk::PACK_EXPAND_WIDGET);
    box.add_below(row);
    entry.grab_focus();
    Response answer = box.ask();
    if (response) *response = answer;
    if (answer != Response::Ok) return std::nullopt;
    return entry.get_text().raw();
  });
}

Response MessageBoxes::show_timed(PromptKind type, MessageButtons buttons, std::string_view text,
                                  std::chrono::milliseconds delay, Response automatic) {
  return calls_.call([&] {
    Box box(parent_, type, buttons, text);
    box.answer_enter_with(automatic);
    // The timer belongs to this box and ends with it, so a box the user answered is never
    // answered again, nor is a later box answered by this one's timer.
    sigc::connection timer = Glib::signal_timeout().connect(
        [&box, automatic] {
          if (box.get_visible()) box.response(static_cast<int>(automatic));
          return false;
        },
        static_cast<unsigned>((delay + kTimerGrace).count()));
    Response response = box.ask();
    timer.disconnect();
    return response;
  });
}

void MessageBoxes::info(std::string_view text) {
  show(PromptKind::Info, MessageButtons::Ok, text);
}

void MessageBoxes::error(std::string_view text) {
  show(PromptKind::Error, MessageButtons::Ok, text);
}

bool MessageBoxes::yes_no(std::string_view text, PromptKind kind) {
  return show(kind, MessageButtons::YesNo, text) == Response::Yes;
}

Answer MessageBoxes::yes_no_cancel(std::string_view text) {
  switch (show_yes_no_cancel(PromptKind::Question, text)) {
    case Response::Yes:
      return Answer::Yes;
    case Response::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

bool MessageBoxes::ask_again(std::string_view text, PromptKind kind, bool dont_show_again) {
  show_ask_again(kind, MessageButtons::Ok, text, dont_show_again);
  return dont_show_again;
}

Prompts::AskAgainAnswer MessageBoxes::yes_no_ask_again(std::string_view text, PromptKind kind,
                                                       bool dont_show_again) {
  Response response = show_ask_again(kind, MessageButtons::YesNo, text, dont_show_again);
  return {response == Response::Yes, dont_show_again};
}

}  // namespace tolvan::ui
