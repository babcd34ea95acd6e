// The buttons of Tolvan's message boxes and the answers they give. The numbers are GTK's
// own (GtkButtonsType and GtkResponseType), so a view hands them to GTK unchanged.
#pragma once

#include "core/prompts.h"

namespace tolvan {

enum class MessageButtons { None = 0, Ok = 1, Close = 2, Cancel = 3, YesNo = 4, OkCancel = 5 };

// None also stands for a box closed without a button (its window closed, or Escape without
// a Cancel button).
enum class Response { None = -1, Ok = -5, Cancel = -6, Close = -7, Yes = -8, No = -9 };

// The answer Enter gives: the harmless one for warnings and errors (No, Cancel), the
// expected one for questions and information (Yes, OK).
Response ui_default_response_from_buttons(PromptKind type, MessageButtons buttons);

// A response number as GTK reports it; numbers that are no answer of ours (GTK's
// "deleted" and the like) read as None.
Response response_from_gtk(int number);

}  // namespace tolvan
