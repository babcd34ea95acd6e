#include "presenters/message_box_buttons.h"

namespace tolvan {

Response ui_default_response_from_buttons(PromptKind type, MessageButtons buttons) {
  const bool cautious = type == PromptKind::Warning || type == PromptKind::Error;
  switch (buttons) {
    case MessageButtons::Ok:
      return Response::Ok;
    case MessageButtons::Close:
      return Response::Close;
    case MessageButtons::Cancel:
      return Response::Cancel;
    case MessageButtons::YesNo:
      return cautious ? Response::No : Response::Yes;
    case MessageButtons::OkCancel:
      return cautious ? Response::Cancel : Response::Ok;
    case MessageButtons::None:
      break;
  }
  return Response::None;
}

Response response_from_gtk(int number) {
  switch (static_cast<Response>(number)) {
    case Response::Ok:
    case Response::Cancel:
    case Response::Close:
    case Response::Yes:
    case Response::No:
      return static_cast<Response>(number);
    case Response::None:
      break;
  }
  return Response::None;
}

}  // namespace tolvan
