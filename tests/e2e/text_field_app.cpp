// text_field_app: the GTK application the end-to-end tests type into. Its main window
// ("Tolvan field") holds a multi-line text view, a one-line entry and a password entry; a
// second window ("Tolvan other") holds one entry, for moving the focus away during an
// expansion. Every change of any field rewrites the report file as a JSON object
// {"text": ..., "entry": ..., "password": ..., "other": ...}, through a temporary file and a
// rename so that a reader never sees half of it. Once the main window is mapped and has the
// keyboard focus on the chosen field, it prints "ready" on stdout. With --report-when-idle
// the report is rewritten once no change has come for 20 ms, so that a benchmark typing
// thousands of characters measures the typing, not the report (whose 20 to 40 ms it
// counts).
//
//   text_field_app --report FILE [--focus text|entry|password] [--report-when-idle]
#include <gtkmm.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "usage: text_field_app --report FILE [--focus text|entry|password] [--report-when-idle]\n";

// JSON string quoting of UTF-8 text: the text is passed through, only quotes, backslashes
// and control characters are escaped.
std::string json_quoted(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

class FieldApp {
 public:
  FieldApp(std::string report, std::string focus, bool report_when_idle)
      : report_(std::move(report)), focus_(std::move(focus)), report_when_idle_(report_when_idle) {
    other_window_.set_title("Tolvan other");
    other_window_.set_default_size(300, 80);
    other_window_.add(other_);
    other_window_.move(700, 100);
    // Only the main window takes the focus by itself; the other one is activated on purpose.
    other_window_.set_focus_on_map(false);

    main_window_.set_title("Tolvan field");
    main_window_.set_default_size(500, 300);
    main_window_.move(100, 100);
    text_.set_size_request(480, 160);
    password_.set_visibility(false);
    box_.pack_start(text_, Gtk::PACK_EXPAND_WIDGET);
    box_.pack_start(entry_, Gtk::PACK_SHRINK);
    box_.pack_start(password_, Gtk::PACK_SHRINK);
    main_window_.add(box_);

    text_.get_buffer()->signal_changed().connect([this] { changed(); });
    entry_.signal_changed().connect([this] { changed(); });
    password_.signal_changed().connect([this] { changed(); });
    other_.signal_changed().connect([this] { changed(); });
    main_window_.property_is_active().signal_changed().connect([this] { maybe_ready(); });
    main_window_.signal_hide().connect([] { Gtk::Main::quit(); });
    other_window_.signal_hide().connect([] { Gtk::Main::quit(); });
  }

  void show() {
    write_report();
    other_window_.show_all();
    main_window_.show_all();
    focused_field().grab_focus();
    main_window_.present();
  }

 private:
  Gtk::Widget& focused_field() {
    if (focus_ == "entry") return entry_;
    if (focus_ == "password") return password_;
    return text_;
  }

  void maybe_ready() {
    if (ready_ || !main_window_.is_active() || !other_window_.get_mapped()) return;
    focused_field().grab_focus();
    ready_ = true;
    std::cout << "ready" << std::endl;
  }

  void changed() {
    if (!report_when_idle_) {
      write_report();
      return;
    }
    // Written whenever the loop was idle, the whole text would be written again between
    // most keys of a fast typist.
    last_change_ = std::chrono::steady_clock::now();
    if (report_pending_) return;
    report_pending_ = true;
    Glib::signal_timeout().connect(
        [this] {
          if (std::chrono::steady_clock::now() - last_change_ < kQuietBeforeReport) return true;
          report_pending_ = false;
          write_report();
          return false;
        },
        kQuietBeforeReport.count());
  }

  void write_report() {
    const std::string json = "{\"text\": " + json_quoted(text_.get_buffer()->get_text().raw()) +
                             ", \"entry\": " + json_quoted(entry_.get_text().raw()) +
                             ", \"password\": " + json_quoted(password_.get_text().raw()) +
                             ", \"other\": " + json_quoted(other_.get_text().raw()) + "}\n";
    try {
      Glib::file_set_contents(report_, json);  // a temporary file renamed over the report
    } catch (const Glib::FileError& e) {
      std::cerr << "text_field_app: cannot write " << report_ << ": " << e.what() << "\n";
    }
  }

  std::string report_;
  std::string focus_;
  bool report_when_idle_ = false;
  bool report_pending_ = false;
  static constexpr std::chrono::milliseconds kQuietBeforeReport{20};
  std::chrono::steady_clock::time_point last_change_;
  bool ready_ = false;
  Gtk::Window main_window_;
  Gtk::Window other_window_;
  Gtk::Box box_{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::TextView text_;
  Gtk::Entry entry_;
  Gtk::Entry password_;
  Gtk::Entry other_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string report;
  std::string focus = "text";
  bool report_when_idle = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--report" && i + 1 < argc) {
      report = argv[++i];
    } else if (a == "--focus" && i + 1 < argc) {
      focus = argv[++i];
      if (focus != "text" && focus != "entry" && focus != "password") {
        std::cerr << kUsage;
        return 2;
      }
    } else if (a == "--report-when-idle") {
      report_when_idle = true;
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (report.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  int gtk_argc = 1;
  Gtk::Main kit(gtk_argc, argv);
  FieldApp app(report, focus, report_when_idle);
  app.show();
  Gtk::Main::run();
  return 0;
}
