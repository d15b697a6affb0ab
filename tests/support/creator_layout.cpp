#include "support/creator_layout.h"

#include "creator.h"

namespace tavtest {

using namespace creator;

RawLayout files_layout()
{
    RawLayout layout;
    while (layout.objects.size() < 440) layout.add(TAV_KIND_EMPTY);
    int slot[441] = {};
    for (uint32_t window : {RETRY_WINDOW, QUESTION_WINDOW, LOCK_QUESTION_WINDOW, SELECTOR_WINDOW, NOTICE_WINDOW}) {
        layout.texts.emplace_back(window, "");
        layout.at(window).set(off::kind, TAV_KIND_WINDOW).set(off::x, 440).set(off::y, 250).set(off::w, 400)
            .set(off::h, 160).set(off::hidden, 1).set(off::text_record, uint32_t(layout.texts.size()));
    }
    auto member = [&](uint32_t n, uint32_t kind, uint32_t master, int x, int y) {
        layout.at(master).dep(slot[master]++, n);
        layout.at(n).set(off::kind, kind).set(off::master, master).set(off::x, x).set(off::y, y)
            .set(off::w, 84).set(off::h, 24).set(off::editable, kind == TAV_KIND_NUMBER).set(off::capacity, 9);
    };
    member(RETRY_BUTTON, TAV_KIND_LABEL, RETRY_WINDOW, 648, 374);
    member(QUIT_BUTTON, TAV_KIND_LABEL, RETRY_WINDOW, 740, 374);
    member(YES_BUTTON, TAV_KIND_LABEL, QUESTION_WINDOW, 648, 374);
    member(NO_BUTTON, TAV_KIND_LABEL, QUESTION_WINDOW, 740, 374);
    member(LOCK_QUESTION_FIELD, TAV_KIND_NUMBER, LOCK_QUESTION_WINDOW, 560, 324);
    member(LOCK_QUESTION_BUTTON, TAV_KIND_LABEL, LOCK_QUESTION_WINDOW, 740, 374);
    member(NOTICE_BUTTON, TAV_KIND_LABEL, NOTICE_WINDOW, 740, 374);
    layout.at(STAGE_WINDOW).set(off::kind, TAV_KIND_WINDOW).set(off::x, 16).set(off::y, 52).set(off::w, 796)
        .set(off::h, 660).set(off::hidden, 1).dep(0, 144).dep(1, MODE_BUTTON).dep(2, RESIZE_BUTTON);
    for (uint32_t n = MOVE_BUTTON; n <= 423; ++n)
        layout.at(n).set(off::kind, TAV_KIND_LABEL).set(off::x, 238).set(off::y, 88).set(off::w, 64).set(off::h, 20);
    return layout;
}

}  // namespace tavtest
