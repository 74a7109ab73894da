#pragma once
// A page's rule on a check box, radio button or radio group is connected to its click
// (`handle(ui->CB_Status, &QCheckBox::clicked, ...)`, as the page's steps name it), but runs on
// every choice made there (binding/operator_choice.h): the toggle of an assistive tool or a
// program's setChecked change the page as a click does. Push buttons keep their clicks.
#include "binding/operator_choice.h"
#include "binding/radio_group.h"

#include <functional>
#include <QCheckBox>
#include <QObject>
#include <QRadioButton>
#include <type_traits>

namespace pages::detail {

// Connects `run` to the choices of `sender` when `signal` is the click of a choice control;
// false (nothing connected) for every other signal.
template <class Sender, class Signal>
bool connectAsChoice([[maybe_unused]] Sender* sender, [[maybe_unused]] Signal signal,
                     [[maybe_unused]] QObject* context,
                     [[maybe_unused]] const std::function<void()>& run) {
    constexpr bool choiceButton =
        std::is_base_of_v<QCheckBox, Sender> || std::is_base_of_v<QRadioButton, Sender>;
    constexpr bool buttonClick = std::is_same_v<Signal, decltype(&QAbstractButton::clicked)>;
    if constexpr (choiceButton && buttonClick) {
        if (signal != &QAbstractButton::clicked)
            return false;
        QvOnChoice(sender, context, run);
        return true;
    } else if constexpr (std::is_base_of_v<QvRadioGroup, Sender> &&
                         std::is_same_v<Signal, decltype(&QvRadioGroup::clicked)>) {
        if (signal != &QvRadioGroup::clicked)
            return false;
        QObject::connect(sender, &QvRadioGroup::chosen, context, run);
        return true;
    } else {
        return false;
    }
}

} // namespace pages::detail
