// Tolvan's message boxes as real GTK dialogs, answered by the test as a user would: title,
// text shown as it is, what Enter answers, the check box, text area and entry variants, the
// box that answers itself, and boxes asked for from a worker thread.
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>
#include <gtkmm/textview.h>

#include <atomic>
#include <thread>

#include "gtk_test_support.h"
#include "ui/message_boxes.h"

namespace tolvan::ui {
namespace {

using namespace std::chrono_literals;
using testing::BoxWatcher;
using testing::find_widget;
using testing::message_label;

// Presses Enter in the box: its default button answers.
void press_enter(Gtk::MessageDialog& box) { box.activate_default(); }

TEST(MessageBoxes, TitledTolvanTheTextShownAsItIsAndEnterGivesTheCautiousAnswer) {
  TOLVAN_NEED_DISPLAY();
  MessageBoxes boxes;
  Gtk::Window owner;
  boxes.set_parent(&owner);
  const std::string text = "100% of <b>%s</b> and %d were lost.\n\nTry again?";
  BoxWatcher watcher([&](Gtk::MessageDialog& box) {
    EXPECT_EQ(box.get_title(), "Tolvan");
    EXPECT_EQ(box.property_message_type().get_value(), Gtk::MESSAGE_ERROR);
    EXPECT_EQ(box.get_transient_for(), &owner);
    EXPECT_TRUE(box.get_modal());
    Gtk::Label* label = message_label(box);
    EXPECT_TRUE(label && label->get_text() == text) << "a percent sign shows once, no markup";
    EXPECT_EQ(label->get_attributes().gobj(), nullptr) << "not bold";
    EXPECT_NE(box.get_widget_for_response(Gtk::RESPONSE_YES), nullptr);
    press_enter(box);
  });
  EXPECT_EQ(boxes.show(PromptKind::Error, MessageButtons::YesNo, text), Response::No);
  EXPECT_EQ(watcher.seen(), 1);
}

TEST(MessageBoxes, EnterAnswersByTypeAndButtons) {
  TOLVAN_NEED_DISPLAY();
  MessageBoxes boxes;
  BoxWatcher watcher(press_enter);
  EXPECT_EQ(boxes.show(PromptKind::Question, MessageButtons::YesNo, "Sure?"), Response::Yes);
  EXPECT_EQ(boxes.show(PromptKind::Warning, MessageButtons::OkCancel, "Sure?"), Response::Cancel);
  EXPECT_EQ(boxes.show(PromptKind::Info, MessageButtons::OkCancel, "Sure?"), Response::Ok);
  EXPECT_EQ(boxes.show(PromptKind::Info, MessageButtons::Close, "Done."), Response::Close);
  EXPECT_EQ(boxes.show_yes_no_cancel(PromptKind::Warning, "Save?"), Response::Yes);
  EXPECT_TRUE(boxes.yes_no("Sure?", PromptKind::Question));
  EXPECT_FALSE(boxes.yes_no("Sure?", PromptKind::Error));
  EXPECT_EQ(watcher.seen(), 7);
}

TEST(MessageBoxes, YesNoCancelHasItsThreeButtonsAndAClosedBoxIsCancel) {
  TOLVAN_NEED_DISPLAY();
  MessageBoxes boxes;
  BoxWatcher watcher([](Gtk::MessageDialog& box) {
    if (message_label(box)->get_text() == "Apply the changes?") {
      for (int response : {Gtk::RESPONSE_YES, Gtk::RESPONSE_NO, Gtk::RESPONSE_CANCEL})
        EXPECT_NE(box.get_widget_for_response(response), nullptr) << response;
    }
    box.close();  // the window's close button
  });
  EXPECT_EQ(boxes.yes_no_cancel("Apply the changes?"), Answer::Cancel);
  EXPECT_EQ(boxes.show(PromptKind::Info, MessageButtons::Ok, "Closed."), Response::None);
}

TEST(MessageBoxes, TheAskAgainCheckBoxIsPresetAndItsStateComesBack) {
  TOLVAN_NEED_DISPLAY();
  MessageBoxes boxes;
  {
    bool preset = false;
    BoxWatcher watcher([&](Gtk::MessageDialog& box) {
      auto* check = find_widget<Gtk::CheckButton>(*box.get_message_area());
      ASSERT_NE(check, nullptr);
      EXPECT_EQ(check->get_label().raw(), kAskAgainLabel);
      EXPECT_TRUE(check->get_use_underline());
      EXPECT_EQ(check->get_active(), preset);
      check->set_active(!preset);
      box.response(Gtk::RESPONSE_OK);
    });
    bool dont_show = false;
    EXPECT_EQ(boxes.show_ask_again(PromptKind::Info, MessageButtons::Ok, "Tip", dont_show),
              Response::Ok);
    EXPECT_TRUE(dont_show);
    preset = true;
    EXPECT_FALSE(boxes.ask_again("Tip", PromptKind::Info, true));
  }
  bool checked = false;
  BoxWatcher custom([&](Gtk::MessageDialog& box) {
    auto* check = find_widget<Gtk::CheckButton>(*box.get_message_area());
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->get_label(), "_Remember");
    EXPECT_FALSE(check->get_active());
    box.response(Gtk::RESPONSE_CANCEL);
  });
  EXPECT_EQ(boxes.show_with_checkbox(PromptKind::Question, MessageButtons::OkCancel, "Go?",
                                     "_Remember", checked),
            Response::Cancel);
  EXPECT_FALSE(checked);
}

TEST(MessageBoxes, TheTextAreaShowsItsTextReadOnlyWithTheCheckBoxOnlyWhenAsked) {
  TOLVAN_NEED_DISPLAY();
  MessageBoxes boxes;
  const std::string details = "line 1: 5% done\nline 2";
  bool with_check = false;
  BoxWatcher watcher([&](Gtk::MessageDialog& box) {
    auto* view = find_widget<Gtk::TextView>(*box.get_message_area());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->get_buffer()->get_text().raw(), details);
    EXPECT_FALSE(view->get_editable());
    auto* check = find_widget<Gtk::CheckButton>(*box.get_message_area());
    EXPECT_EQ(check != nullptr, with_check);
    if (check) {
      EXPECT_EQ(check->get_label().raw(), kTextAreaAskAgainLabel);
      check->set_active(true);
    }
    box.response(Gtk::RESPONSE_CLOSE);
  });
  EXPECT_EQ(boxes.show_textview(PromptKind::Warning, MessageButtons::Close, "Import", details),
            Response::Close);
  with_check = true;
  bool dont_show = false;
  EXPECT_EQ(boxes.show_textview(PromptKind::Warning, MessageButtons::Close, "Import", details,
                                &dont_show),
            Response::Close);
  EXPECT_TRUE(dont_show);
}

TEST(MessageBoxes, TheEntryGivesItsTextOnOkOnlyAndCanHideWhatIsTyped) {
  TOLVAN_NEED_DISPLAY();
  MessageBoxes boxes;
  bool cancel = false;
  BoxWatcher watcher([&](Gtk::MessageDialog& box) {
    auto* entry = find_widget<Gtk::Entry>(*box.get_message_area());
    auto* label = find_widget<Gtk::Label>(*entry->get_parent());
    ASSERT_TRUE(entry && label);
    EXPECT_EQ(label->get_mnemonic_widget(), entry);
    EXPECT_EQ(label->get_text(), "Password:");
    EXPECT_FALSE(entry->get_visibility());
    entry->set_text("s3cr%t");
    if (cancel) {
      box.response(Gtk::RESPONSE_CANCEL);
    } else {
      entry->activate();  // Enter in the entry answers the default, OK
    }
  });
  Response response = Response::None;
  EXPECT_EQ(boxes.ask_for_entry(PromptKind::Question, MessageButtons::OkCancel, "Proxy",
                                "_Password:", false, &response),
            "s3cr%t");
  EXPECT_EQ(response, Response::Ok);
  cancel = true;
  EXPECT_EQ(boxes.ask_for_entry(PromptKind::Question, MessageButtons::OkCancel, "Proxy",
                                "_Password:", false, &response),
            std::nullopt);
  EXPECT_EQ(response, Response::Cancel);
}

TEST(MessageBoxes, ATimedBoxAnswersItselfButNeverAfterTheUserDid) {
  TOLVAN_NEED_DISPLAY();
  MessageBoxes boxes;
  {
    BoxWatcher nobody([](Gtk::MessageDialog&) {});
    EXPECT_EQ(boxes.show_timed(PromptKind::Question, MessageButtons::YesNo, "Sync now?", 50ms,
                               Response::No),
              Response::No);
    EXPECT_EQ(nobody.seen(), 1);
  }
  // The user answers the first box at once; the second, shown right after, stays open well
  // past the first one's time until the user answers it too.
  int opened = 0;
  bool second_still_open = false;
  BoxWatcher user([&](Gtk::MessageDialog& box) {
    if (++opened == 1) {
      box.response(Gtk::RESPONSE_YES);
      return;
    }
    Glib::signal_timeout().connect_once(
        [&box, &second_still_open] {
          second_still_open = box.get_visible();
          box.response(Gtk::RESPONSE_OK);
        },
        400);
  });
  EXPECT_EQ(boxes.show_timed(PromptKind::Question, MessageButtons::YesNo, "First", 50ms,
                             Response::No),
            Response::Yes);
  EXPECT_EQ(boxes.show_timed(PromptKind::Info, MessageButtons::OkCancel, "Second", 10s,
                             Response::Cancel),
            Response::Ok);
  EXPECT_TRUE(second_still_open);
}

TEST(MessageBoxes, AWorkerThreadsBoxRunsOnTheMainThreadAndTheWorkerGetsTheAnswer) {
  TOLVAN_NEED_DISPLAY();
  MessageBoxes boxes;
  const auto main_thread = std::this_thread::get_id();
  BoxWatcher watcher([&](Gtk::MessageDialog& box) {
    EXPECT_EQ(std::this_thread::get_id(), main_thread);
    box.response(Gtk::RESPONSE_YES);
  });
  std::atomic<int> answered = 0;
  bool answer = false;
  std::thread worker([&] {
    answer = boxes.yes_no("Try again?", PromptKind::Error);
    ++answered;
    boxes.info("Done.");  // the watcher closes this one too
    ++answered;
  });
  EXPECT_TRUE(testing::turn_until([&] { return answered == 2; }));
  worker.join();
  EXPECT_TRUE(answer);
  EXPECT_EQ(watcher.seen(), 2);
}

TEST(MessageBoxes, PromptsShowInformationAndErrorsWithOk) {
  TOLVAN_NEED_DISPLAY();
  MessageBoxes boxes;
  std::vector<Gtk::MessageType> types;
  BoxWatcher watcher([&](Gtk::MessageDialog& box) {
    types.push_back(box.property_message_type().get_value());
    EXPECT_NE(box.get_widget_for_response(Gtk::RESPONSE_OK), nullptr);
    press_enter(box);
  });
  boxes.info("Backup successfully restored.");
  boxes.error("Could not save.");
  EXPECT_EQ(types, (std::vector<Gtk::MessageType>{Gtk::MESSAGE_INFO, Gtk::MESSAGE_ERROR}));
}

}  // namespace
}  // namespace tolvan::ui
