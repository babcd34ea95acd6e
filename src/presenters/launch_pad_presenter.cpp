#include "presenters/launch_pad_presenter.h"

#include <utility>

namespace tolvan {

LaunchPadPresenter::LaunchPadPresenter(ViewFactory make_view) : make_view_(std::move(make_view)) {}

LaunchPadPresenter::~LaunchPadPresenter() = default;

void LaunchPadPresenter::show(bool create_hidden) {
  if (view_) {
    if (!shown_all_) {
      view_->show_all();
      shown_all_ = true;
    }
    view_->present();
    visible_ = true;
    return;
  }
  view_ = make_view_(*this);
  if (create_hidden) return;
  shown_all_ = true;
  view_->show_all();
  view_->present();
  visible_ = true;
}

void LaunchPadPresenter::hide() {
  if (!view_) return;
  view_->hide();
  view_->clear_entry();
  visible_ = false;
}

LaunchPadKeyAnswer LaunchPadPresenter::key_pressed(LaunchPadKey key) {
  switch (key) {
    case LaunchPadKey::Tab:
    case LaunchPadKey::Return: return LaunchPadKeyAnswer::AsSpace;
    case LaunchPadKey::Escape: hide(); return LaunchPadKeyAnswer::Hide;
    case LaunchPadKey::Other: break;
  }
  return LaunchPadKeyAnswer::Pass;
}

void LaunchPadPresenter::destroy() {
  view_.reset();
  shown_all_ = false;
  visible_ = false;
}

}  // namespace tolvan
