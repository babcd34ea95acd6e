#include "engine/hook/hook_thread.h"

namespace tolvan {

bool HookThread::create() {
  if (running()) return true;
  thread_ = std::thread([this] { run(); });
  return true;
}

void HookThread::destroy() {
  if (!running()) return;
  request(MonMessage::Quit);
  thread_.join();
}

bool HookThread::request(MonMessage message) {
  if (!running()) return false;
  auto answer = std::make_shared<std::promise<bool>>();
  std::future<bool> result = answer->get_future();
  enqueue(Request{message, answer, nullptr});
  return result.get();
}

void HookThread::post(MonMessage message) {
  if (running()) enqueue(Request{message, nullptr, nullptr});
}

void HookThread::post_insert_abbrev(std::unique_ptr<Abbreviation> abbreviation) {
  if (running() && abbreviation)
    enqueue(Request{MonMessage::InsertAbbrev, nullptr, std::move(abbreviation)});
}

void HookThread::enqueue(Request request) {
  ++pending_;
  queue_.post(std::move(request));
}

void HookThread::run() {
  for (;;) {
    Request request = queue_.take();
    bool answer = false;
    if (request.message == MonMessage::InsertAbbrev)
      monitor_.insert_abbrev(std::move(request.abbreviation));
    else
      answer = monitor_.serve(request.message);
    const bool quit = request.message == MonMessage::Quit;
    if (request.answer) request.answer->set_value(answer);
    --pending_;
    if (quit) return;
  }
}

}  // namespace tolvan
