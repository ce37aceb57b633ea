#include "startup/quit_confirmation.h"

namespace pf {

void confirm_quit(Dialogs& dialogs, Process& process) {
    if (dialogs.message_box(quit_texts::question, box::yes_no, quit_texts::question_title) != box::answer_yes)
        return;
    dialogs.message_box(quit_texts::resume_hint, box::information_icon, quit_texts::resume_title);
    process.end();
}

}  // namespace pf
