#include "core/message_boxes.h"

namespace quorel {

namespace {

constexpr const char* kTitle = "Gestion Quorel";

ControlDescription<BoxButton, BoxPart> text() {
    return {.name = "Texte", .content = BoxPart::Text};
}

ControlDescription<BoxButton, BoxPart> button(const char* name, const char* caption,
                                              BoxButton pressed) {
    return {.name = name,
            .kind = ControlKind::PushButton,
            .caption = caption,
            .place = {0, 0, 1200, 330},
            .events = {pressed}};
}

} // namespace

const MessageBoxDescription& messageBoxDescription() {
    static const MessageBoxDescription box{
        .box = inTabOrder(WindowDescription<BoxButton, BoxPart>{
            .name = "Message",
            .title = kTitle,
            .controls = {text(), button("BtnOK", "OK", BoxButton::Ok)}})};
    return box;
}

const MessageBoxDescription& questionBoxDescription() {
    static const MessageBoxDescription box{
        .box = inTabOrder(WindowDescription<BoxButton, BoxPart>{
            .name = "Question",
            .title = kTitle,
            .controls = {text(), button("BtnOui", "Oui", BoxButton::Yes),
                         button("BtnNon", "Non", BoxButton::No),
                         button("BtnAnnuler", "Annuler", BoxButton::Cancel)}}),
        .questionIcon = true,
        .defaultButton = BoxButton::Yes,
        .escapeButton = BoxButton::Cancel};
    return box;
}

Answer answerOf(std::optional<BoxButton> clicked) {
    if (clicked == BoxButton::Yes) {
        return Answer::Yes;
    }
    if (clicked == BoxButton::No) {
        return Answer::No;
    }
    return Answer::Cancel;
}

} // namespace quorel
